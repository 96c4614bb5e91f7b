#include "audio/audio_clip.h"

#include "audio/audio_decoder.h"

AudioClip::AudioClip(const std::vector<std::int16_t>& pcm)
{
    frames_ = pcm.size() / AudioDecoder::kChannels;
    if (frames_ == 0) {
        return;
    }
    // Success is judged by the results rather than alGetError, whose flag
    // the feeder threads share.
    alGenBuffers(1, &buffer_);
    if (buffer_ == 0 || !alIsBuffer(buffer_)) {
        buffer_ = 0;
        return;
    }
    const auto bytes =
        static_cast<ALsizei>(frames_ * AudioDecoder::kChannels * sizeof(std::int16_t));
    alBufferData(buffer_, AL_FORMAT_STEREO16, pcm.data(), bytes, AudioDecoder::kRate);
    ALint stored = 0;
    alGetBufferi(buffer_, AL_SIZE, &stored);
    if (stored != bytes) {
        alDeleteBuffers(1, &buffer_);
        buffer_ = 0;
    }
}

AudioClip::~AudioClip()
{
    if (buffer_ != 0) {
        alDeleteBuffers(1, &buffer_);
    }
}
