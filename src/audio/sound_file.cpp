#include "audio/sound_file.h"

#include <cstdio>

#include "audio/audio_mixer.h"
#include "audio/mp3_decoder.h"
#include "audio/wav_reader.h"
#include "audio/wma_client.h"

namespace {

enum class Kind { Missing, Wav, Wma, Other };

Kind kind_of(const char* path)
{
    std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) {
        return Kind::Missing;
    }
    unsigned char head[16] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    if (wav_reader::looks_like_wav(head, got)) {
        return Kind::Wav;
    }
    if (wma_client::looks_like_wma(head, got)) {
        return Kind::Wma;
    }
    return Kind::Other;
}

std::optional<AudioClip> load_as(Kind kind, const char* path)
{
    switch (kind) {
    case Kind::Missing:
        return std::nullopt;
    case Kind::Wav:
        return wav_reader::load(path, AudioMixer::kRate);
    case Kind::Wma:
        return wma_client::decode(path, wma_client::decoder_path());
    case Kind::Other:
        break;
    }
    return Mp3Decoder::decode_file(path);
}

}  // namespace

namespace sound_file {

std::optional<AudioClip> load(const char* path)
{
    return load_as(kind_of(path), path);
}

std::unique_ptr<AudioStream> open_stream(const char* path)
{
    const Kind kind = kind_of(path);
    if (kind == Kind::Other) {
        auto decoder = std::make_unique<Mp3Decoder>();
        if (!decoder->open(path)) {
            return nullptr;
        }
        return std::make_unique<AudioStream>(std::move(decoder));
    }
    std::optional<AudioClip> clip = load_as(kind, path);
    if (!clip) {
        return nullptr;
    }
    return std::make_unique<AudioStream>(std::move(*clip));
}

}  // namespace sound_file
