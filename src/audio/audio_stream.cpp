#include "audio/audio_stream.h"

#include <algorithm>
#include <vector>

#include "audio/audio_clip.h"
#include "audio/audio_decoder.h"
#include "audio/audio_device.h"
#include "audio/audio_feeder.h"

AudioStream::AudioStream(ALuint source) : source_(source) {}

std::unique_ptr<AudioStream> AudioStream::open(AudioDevice& device, const char* path)
{
    auto decoder = std::make_unique<AudioDecoder>();
    if (!decoder->open(path)) {
        return nullptr;
    }
    const double seconds = decoder->duration_seconds();
    std::unique_ptr<AudioClip> clip;
    if (seconds >= 0.0 && seconds <= kWholeSeconds) {
        std::vector<std::int16_t> pcm;
        if (!decoder->read_all(pcm)) {
            return nullptr;
        }
        clip = std::make_unique<AudioClip>(pcm);
        if (!clip->valid()) {
            return nullptr;
        }
        decoder.reset();
    }
    const ALuint source = device.make_source();
    if (source == 0) {
        return nullptr;
    }
    std::unique_ptr<AudioStream> stream(new AudioStream(source));
    stream->clip_ = std::move(clip);
    stream->decoder_ = std::move(decoder);
    return stream;
}

AudioStream::~AudioStream()
{
    stop();
    alDeleteSources(1, &source_);
}

void AudioStream::play(int loops)
{
    stop();
    if (clip_) {
        play_whole(loops);
    } else if (decoder_) {
        feeder_ = std::make_unique<AudioFeeder>(source_, *decoder_, loops);
    }
}

void AudioStream::play_whole(int loops)
{
    if (loops < 0) {
        alSourcei(source_, AL_LOOPING, AL_TRUE);
        alSourcei(source_, AL_BUFFER, static_cast<ALint>(clip_->buffer()));
    } else {
        // The same buffer queued again and again repeats it without a gap.
        alSourcei(source_, AL_LOOPING, AL_FALSE);
        const std::vector<ALuint> queue(static_cast<std::size_t>(std::min(loops, kMaxQueuedLoops)) + 1,
                                        clip_->buffer());
        alSourceQueueBuffers(source_, static_cast<ALsizei>(queue.size()), queue.data());
    }
    alSourcePlay(source_);
}

void AudioStream::stop()
{
    if (feeder_) {
        feeder_.reset();  // joins, stops and unqueues
        return;
    }
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
}

bool AudioStream::feeding() const
{
    return feeder_ && !feeder_->finished();
}
