#include "audio/audio_layer.h"

#include <vector>

#include "audio/audio_decoder.h"

AudioLayer& AudioLayer::instance()
{
    static AudioLayer layer;
    return layer;
}

AudioLayer::~AudioLayer()
{
    close();
    // Handles the program never released: free them with the layer.
    for (const FSOUND_STREAM* stream : streams_) {
        delete stream;
    }
    for (const FSOUND_SAMPLE* sample : samples_) {
        delete sample;
    }
}

bool AudioLayer::init(int rate, int voices)
{
    if (!device_) {
        device_ = AudioDevice::open_default(rate > 0 ? rate : AudioDecoder::kRate, voices);
    }
    return device_ != nullptr;
}

bool AudioLayer::init_loopback(int rate, int voices)
{
    if (!device_) {
        device_ = AudioDevice::open_loopback(rate > 0 ? rate : AudioDecoder::kRate, voices);
    }
    return device_ != nullptr;
}

void AudioLayer::close()
{
    if (!device_) {
        return;
    }
    detach_all();
    device_.reset();
}

// Streams stop (their threads joined) and every sound object of the device
// goes before the device itself.
void AudioLayer::detach_all()
{
    for (const FSOUND_STREAM* stream : streams_) {
        const_cast<FSOUND_STREAM*>(stream)->audio.reset();
    }
    for (const FSOUND_SAMPLE* sample : samples_) {
        auto* owned = const_cast<FSOUND_SAMPLE*>(sample);
        if (owned->clip) {
            device_->release(owned->clip->buffer());
            owned->clip.reset();
        }
    }
}

FSOUND_STREAM* AudioLayer::open_stream(const char* path)
{
    auto* stream = new FSOUND_STREAM;
    if (device_ && path) {
        stream->audio = AudioStream::open(*device_, path);
    }
    streams_.insert(stream);
    return stream;
}

void AudioLayer::close_stream(FSOUND_STREAM* stream)
{
    if (streams_.erase(stream) == 0) {
        return;
    }
    delete stream;
}

bool AudioLayer::owns(const FSOUND_STREAM* stream) const
{
    return stream && streams_.count(stream) != 0;
}

FSOUND_SAMPLE* AudioLayer::load_sample(const char* path)
{
    auto* sample = new FSOUND_SAMPLE;
    std::vector<std::int16_t> pcm;
    if (device_ && path && AudioDecoder::decode_file(path, pcm)) {
        sample->clip = std::make_unique<AudioClip>(pcm);
        if (!sample->clip->valid()) {
            sample->clip.reset();
        }
    }
    samples_.insert(sample);
    return sample;
}

void AudioLayer::free_sample(FSOUND_SAMPLE* sample)
{
    if (samples_.erase(sample) == 0) {
        return;
    }
    if (sample->clip && device_) {
        device_->release(sample->clip->buffer());
    }
    delete sample;
}

bool AudioLayer::owns(const FSOUND_SAMPLE* sample) const
{
    return sample && samples_.count(sample) != 0;
}
