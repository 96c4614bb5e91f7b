#include "audio/audio_mixer.h"

#include <algorithm>
#include <cstring>

#include "audio/audio_stream.h"

AudioMixer::AudioMixer(int voices)
    : voices_(static_cast<std::size_t>(std::clamp(voices, 1, kMaxVoices)))
{
}

void AudioMixer::play(const AudioClip* clip)
{
    if (!clip || clip->empty()) {
        return;
    }
    Voice* chosen = &voices_.front();
    for (Voice& voice : voices_) {
        if (!voice.clip) {
            chosen = &voice;
            break;
        }
        if (voice.started < chosen->started) {
            chosen = &voice;
        }
    }
    if (!chosen->clip) {
        ++busy_;
    }
    *chosen = Voice{clip, 0, ++starts_, true};
}

void AudioMixer::stop(const AudioClip* clip)
{
    for (Voice& voice : voices_) {
        if (clip && voice.clip == clip) {
            voice.clip = nullptr;
            --busy_;
        }
    }
}

void AudioMixer::add(AudioStream* stream)
{
    if (std::find(streams_.begin(), streams_.end(), stream) == streams_.end()) {
        streams_.push_back(stream);
    }
    if (std::find(started_streams_.begin(), started_streams_.end(), stream) ==
        started_streams_.end()) {
        started_streams_.push_back(stream);
    }
}

void AudioMixer::remove(AudioStream* stream)
{
    streams_.erase(std::remove(streams_.begin(), streams_.end(), stream), streams_.end());
    started_streams_.erase(std::remove(started_streams_.begin(), started_streams_.end(), stream),
                           started_streams_.end());
}

void AudioMixer::mix(std::int16_t* out, std::size_t frames)
{
    forget_started();
    if (busy_ == 0 && streams_.empty()) {
        std::memset(out, 0, frames * 2 * sizeof(std::int16_t));
        return;
    }
    for (std::size_t done = 0; done < frames; done += kBlock) {
        mix_block(out + done * 2, std::min(kBlock, frames - done), false);
    }
}

bool AudioMixer::mix_started(std::int16_t* out, std::size_t frames)
{
    const bool any = !started_streams_.empty() ||
                     std::any_of(voices_.begin(), voices_.end(),
                                 [](const Voice& v) { return v.clip && v.fresh; });
    if (!any) {
        return false;
    }
    for (std::size_t done = 0; done < frames; done += kBlock) {
        mix_block(out + done * 2, std::min(kBlock, frames - done), true);
    }
    forget_started();
    return true;
}

void AudioMixer::forget_started()
{
    for (Voice& voice : voices_) {
        voice.fresh = false;
    }
    started_streams_.clear();
}

void AudioMixer::mix_block(std::int16_t* out, std::size_t frames, bool started_only)
{
    std::int32_t* acc = acc_.data();
    std::fill(acc, acc + frames * 2, 0);
    for (Voice& voice : voices_) {
        if (!voice.clip || (started_only && !voice.fresh)) {
            continue;
        }
        const std::size_t n = std::min(frames, voice.clip->frames() - voice.pos);
        add_frames(acc, voice.clip->pcm.data() + voice.pos * voice.clip->channels,
                   voice.clip->channels, n);
        voice.pos += n;
        if (voice.pos == voice.clip->frames()) {
            voice.clip = nullptr;
            --busy_;
        }
    }
    for (AudioStream* stream : started_only ? started_streams_ : streams_) {
        stream->mix_into(acc, frames);
    }
    // A stream that has played out leaves the lists.
    const auto ended = [](const AudioStream* s) { return !s->playing(); };
    streams_.erase(std::remove_if(streams_.begin(), streams_.end(), ended), streams_.end());
    started_streams_.erase(
        std::remove_if(started_streams_.begin(), started_streams_.end(), ended),
        started_streams_.end());
    for (std::size_t i = 0; i < frames * 2; ++i) {
        out[i] = static_cast<std::int16_t>(std::clamp<std::int32_t>(acc[i], -32768, 32767));
    }
}
