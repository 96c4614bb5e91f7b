#include "audio/audio_layer.h"

#include <cstring>

#include "audio/sound_file.h"

AudioLayer& AudioLayer::instance()
{
    static AudioLayer layer;
    return layer;
}

AudioLayer::~AudioLayer()
{
    close();
    // Handles the program never released: freed with the layer.
    for (const FSOUND_STREAM* stream : streams_) {
        delete stream;
    }
    for (const FSOUND_SAMPLE* sample : samples_) {
        delete sample;
    }
}

bool AudioLayer::init(int voices)
{
    if (device_ && !device_->still_open()) {
        close();  // SDL_Quit closed it: open it again
    }
    if (mixer_) {
        return true;
    }
    auto mixer = std::make_unique<AudioMixer>(voices);
    device_ = AudioDevice::open(*mixer);
    if (!device_) {
        return false;
    }
    AudioLock lock(device_.get());
    mixer_ = std::move(mixer);
    return true;
}

bool AudioLayer::init_unplugged(int voices)
{
    if (!mixer_) {
        mixer_ = std::make_unique<AudioMixer>(voices);
    }
    return true;
}

void AudioLayer::close()
{
    if (!mixer_) {
        return;
    }
    // The callback stops for good before anything it reads goes.
    device_.reset();
    silence_handles();
    mixer_.reset();
}

void AudioLayer::silence_handles()
{
    for (const FSOUND_STREAM* stream : streams_) {
        const_cast<FSOUND_STREAM*>(stream)->audio.reset();
    }
    for (const FSOUND_SAMPLE* sample : samples_) {
        const_cast<FSOUND_SAMPLE*>(sample)->clip.reset();
    }
}

void AudioLayer::render(std::int16_t* out, std::size_t frames)
{
    if (mixer_ && !device_) {
        mixer_->mix(out, frames);
    } else {
        std::memset(out, 0, frames * 2 * sizeof(std::int16_t));
    }
}

bool AudioLayer::mix_started(std::int16_t* out, std::size_t frames)
{
    if (!mixer_) {
        return false;
    }
    AudioLock lock(device_.get());
    return mixer_->mix_started(out, frames);
}

FSOUND_STREAM* AudioLayer::open_stream(const char* path)
{
    auto* stream = new FSOUND_STREAM;
    if (mixer_ && path) {
        stream->audio = sound_file::open_stream(path);
    }
    streams_.insert(stream);
    return stream;
}

bool AudioLayer::play_stream(FSOUND_STREAM* stream)
{
    if (!stream->audio || !mixer_) {
        return false;
    }
    AudioLock lock(device_.get());
    stream->audio->start(stream->loops);
    if (stream->audio->playing()) {
        mixer_->add(stream->audio.get());
    }
    return true;
}

void AudioLayer::stop_stream(FSOUND_STREAM* stream)
{
    if (!stream->audio || !mixer_) {
        return;
    }
    AudioLock lock(device_.get());
    stream->audio->stop();
    mixer_->remove(stream->audio.get());
}

void AudioLayer::close_stream(FSOUND_STREAM* stream)
{
    if (streams_.erase(stream) == 0) {
        return;
    }
    stop_stream(stream);
    delete stream;
}

bool AudioLayer::owns(const FSOUND_STREAM* stream) const
{
    return stream && streams_.count(stream) != 0;
}

FSOUND_SAMPLE* AudioLayer::load_sample(const char* path)
{
    auto* sample = new FSOUND_SAMPLE;
    if (mixer_ && path) {
        if (std::optional<AudioClip> clip = sound_file::load(path)) {
            sample->clip = std::make_unique<AudioClip>(std::move(*clip));
        }
    }
    samples_.insert(sample);
    return sample;
}

bool AudioLayer::play_sample(FSOUND_SAMPLE* sample)
{
    if (!sample->clip || !mixer_) {
        return false;
    }
    AudioLock lock(device_.get());
    mixer_->play(sample->clip.get());
    return true;
}

void AudioLayer::free_sample(FSOUND_SAMPLE* sample)
{
    if (samples_.erase(sample) == 0) {
        return;
    }
    if (sample->clip && mixer_) {
        AudioLock lock(device_.get());
        mixer_->stop(sample->clip.get());
    }
    delete sample;
}

bool AudioLayer::owns(const FSOUND_SAMPLE* sample) const
{
    return sample && samples_.count(sample) != 0;
}
