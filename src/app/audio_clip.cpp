#include "app/audio_clip.h"

#include "app/audio_decoder.h"

AudioClip::AudioClip(const std::vector<std::int16_t>& pcm)
{
    frames_ = pcm.size() / AudioDecoder::kChannels;
    if (frames_ == 0) {
        return;
    }
    alGetError();
    alGenBuffers(1, &buffer_);
    if (alGetError() != AL_NO_ERROR) {
        buffer_ = 0;
        return;
    }
    alBufferData(buffer_, AL_FORMAT_STEREO16, pcm.data(),
                 static_cast<ALsizei>(frames_ * AudioDecoder::kChannels * sizeof(std::int16_t)),
                 AudioDecoder::kRate);
    if (alGetError() != AL_NO_ERROR) {
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
