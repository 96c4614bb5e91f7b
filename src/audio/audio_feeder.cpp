#include "audio/audio_feeder.h"

#include <chrono>

#include "audio/audio_decoder.h"

AudioFeeder::AudioFeeder(ALuint source, AudioDecoder& decoder, int loops)
    : source_(source),
      decoder_(decoder),
      loops_(loops),
      piece_(static_cast<std::size_t>(kBufferFrames) * AudioDecoder::kChannels)
{
    // Success is judged by the result, not by alGetError: OpenAL keeps one
    // error flag per context, which other feeder threads share.
    buffers_.fill(0);
    alGenBuffers(kBuffers, buffers_.data());
    for (ALuint buffer : buffers_) {
        if (buffer == 0 || !alIsBuffer(buffer)) {
            buffers_.fill(0);
            return;
        }
    }
    thread_ = std::thread(&AudioFeeder::run, this);
}

AudioFeeder::~AudioFeeder()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);  // unqueues everything
    if (buffers_[0] != 0) {
        alDeleteBuffers(kBuffers, buffers_.data());
    }
}

std::size_t AudioFeeder::held_bytes()
{
    const std::size_t piece = static_cast<std::size_t>(kBufferFrames) * AudioDecoder::kChannels *
                              sizeof(std::int16_t);
    return piece * (kBuffers + 1);
}

void AudioFeeder::run()
{
    feed();
    finished_ = true;
}

void AudioFeeder::feed()
{
    // Start as soon as the first quarter second is ready, then top up.
    if (!decoder_.rewind()) {
        return;
    }
    int queued = 0;
    for (ALuint buffer : buffers_) {
        if (!fill(buffer)) {
            break;
        }
        alSourceQueueBuffers(source_, 1, &buffer);
        if (++queued == 1) {
            alSourcePlay(source_);
        }
    }
    if (queued == 0) {
        return;
    }
    while (wait_poll()) {
        refill_processed();
        ALint state = AL_STOPPED;
        ALint still_queued = 0;
        alGetSourcei(source_, AL_SOURCE_STATE, &state);
        alGetSourcei(source_, AL_BUFFERS_QUEUED, &still_queued);
        if (still_queued == 0) {
            return;  // played to the end
        }
        if (state != AL_PLAYING) {
            alSourcePlay(source_);  // ran dry before a refill: carry on
        }
    }
}

// Waits one poll period; false when asked to stop.
bool AudioFeeder::wait_poll()
{
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(kPollMs), [this] { return stopping_; });
    return !stopping_;
}

void AudioFeeder::refill_processed()
{
    ALint processed = 0;
    alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source_, 1, &buffer);
        if (!ended_ && fill(buffer)) {
            alSourceQueueBuffers(source_, 1, &buffer);
        }
    }
}

// Decodes the next piece into `buffer`, going round to the start of the
// file inside the same piece when looping, so the joint has no gap.
bool AudioFeeder::fill(ALuint buffer)
{
    std::size_t frames = 0;
    bool just_rewound = false;
    while (frames < static_cast<std::size_t>(kBufferFrames)) {
        const std::size_t got = decoder_.read(piece_.data() + frames * AudioDecoder::kChannels,
                                              kBufferFrames - frames);
        frames += got;
        if (frames == static_cast<std::size_t>(kBufferFrames)) {
            break;
        }
        // A file that yields nothing right after a rewind would spin for ever.
        if ((got == 0 && just_rewound) || loops_ == 0 || !decoder_.rewind()) {
            ended_ = true;
            break;
        }
        if (loops_ > 0) {
            --loops_;
        }
        just_rewound = true;
    }
    finished_ = ended_;
    if (frames == 0) {
        ended_ = true;
        finished_ = true;
        return false;
    }
    alBufferData(buffer, AL_FORMAT_STEREO16, piece_.data(),
                 static_cast<ALsizei>(frames * AudioDecoder::kChannels * sizeof(std::int16_t)),
                 AudioDecoder::kRate);
    return true;
}
