#include "audio/mp3_decoder.h"

#include <mpg123.h>

#include <cstdio>

namespace {

// mpg123_init is needed before 1.27 and does nothing after.
bool library_ready()
{
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

}  // namespace

Mp3Decoder::~Mp3Decoder()
{
    release();
}

void Mp3Decoder::release()
{
    if (handle_) {
        mpg123_close(handle_);
        mpg123_delete(handle_);
        handle_ = nullptr;
    }
}

bool Mp3Decoder::open(const char* path)
{
    release();
    if (!path || !library_ready()) {
        return false;
    }
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (!handle_) {
        return false;
    }
    // Quiet: the game prints nothing about a damaged frame. Gapless trims
    // the encoder's padding, so a looped file joins without a click.
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
    mpg123_param(handle_, MPG123_FORCE_RATE, AudioMixer::kRate, 0);
    mpg123_format_none(handle_);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_format(handle_, AudioMixer::kRate, MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK ||
        mpg123_open(handle_, path) != MPG123_OK ||
        mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK ||
        rate != AudioMixer::kRate || channels != 2 || encoding != MPG123_ENC_SIGNED_16) {
        release();
        return false;
    }
    return true;
}

std::size_t Mp3Decoder::read(std::int16_t* out, std::size_t frames)
{
    std::size_t done = 0;
    while (handle_ && done < frames) {
        std::size_t bytes = 0;
        const int result = mpg123_read(handle_, reinterpret_cast<unsigned char*>(out + done * 2),
                                       (frames - done) * 4, &bytes);
        done += bytes / 4;
        if (result == MPG123_NEW_FORMAT) {
            continue;  // still 44100 Hz stereo: the only format allowed
        }
        if (result != MPG123_OK || bytes == 0) {
            break;  // the end, or damage past which nothing more comes
        }
    }
    return done;
}

bool Mp3Decoder::rewind()
{
    return handle_ && mpg123_seek(handle_, 0, SEEK_SET) == 0;
}

std::optional<AudioClip> Mp3Decoder::decode_file(const char* path)
{
    Mp3Decoder decoder;
    if (!decoder.open(path)) {
        return std::nullopt;
    }
    AudioClip clip;
    clip.channels = 2;
    constexpr std::size_t kPiece = 16384;
    std::size_t frames = 0;
    for (;;) {
        clip.pcm.resize((frames + kPiece) * 2);
        const std::size_t got = decoder.read(clip.pcm.data() + frames * 2, kPiece);
        frames += got;
        if (got < kPiece) {
            break;
        }
    }
    clip.pcm.resize(frames * 2);
    clip.pcm.shrink_to_fit();
    if (clip.empty()) {
        return std::nullopt;
    }
    return clip;
}
