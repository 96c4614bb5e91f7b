#include "audio/audio_stream.h"

#include <algorithm>

void add_frames(std::int32_t* acc, const std::int16_t* pcm, int channels, std::size_t frames)
{
    if (channels == 1) {
        for (std::size_t f = 0; f < frames; ++f) {
            acc[2 * f] += pcm[f];
            acc[2 * f + 1] += pcm[f];
        }
    } else {
        for (std::size_t i = 0; i < frames * 2; ++i) {
            acc[i] += pcm[i];
        }
    }
}

AudioStream::AudioStream(AudioClip clip) : clip_(std::move(clip)) {}

AudioStream::AudioStream(std::unique_ptr<Mp3Decoder> decoder)
    : decoder_(std::move(decoder)), piece_(kPieceFrames * 2)
{
}

void AudioStream::start(int loops)
{
    loops_left_ = loops < 0 ? -1 : loops;
    pos_ = 0;
    piece_frames_ = 0;
    playing_ = decoder_ ? decoder_->rewind() : !clip_.empty();
}

// Decodes the next piece, going round to the start when a loop is left.
// False at the end of the last pass.
bool AudioStream::next_piece()
{
    std::size_t frames = decoder_->read(piece_.data(), kPieceFrames);
    bool rewound = false;
    while (frames < kPieceFrames && loops_left_ != 0) {
        // A file that gives nothing right after going round would spin.
        if ((rewound && frames == 0) || !decoder_->rewind()) {
            break;
        }
        rewound = true;
        if (loops_left_ > 0) {
            --loops_left_;
        }
        const std::size_t got = decoder_->read(piece_.data() + frames * 2, kPieceFrames - frames);
        if (got == 0) {
            break;
        }
        frames += got;
    }
    piece_frames_ = frames;
    pos_ = 0;
    return frames > 0;
}

void AudioStream::mix_into(std::int32_t* acc, std::size_t frames)
{
    std::size_t done = 0;
    while (playing_ && done < frames) {
        std::size_t available = 0;
        if (decoder_) {
            if (pos_ == piece_frames_ && !next_piece()) {
                playing_ = false;
                break;
            }
            available = piece_frames_ - pos_;
        } else {
            if (pos_ == clip_.frames()) {
                if (loops_left_ == 0) {
                    playing_ = false;
                    break;
                }
                if (loops_left_ > 0) {
                    --loops_left_;
                }
                pos_ = 0;
            }
            available = clip_.frames() - pos_;
        }
        const std::size_t n = std::min(available, frames - done);
        if (decoder_) {
            add_frames(acc + done * 2, piece_.data() + pos_ * 2, 2, n);
        } else {
            add_frames(acc + done * 2, clip_.pcm.data() + pos_ * clip_.channels, clip_.channels, n);
        }
        pos_ += n;
        done += n;
    }
}
