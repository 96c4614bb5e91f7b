// tirevane-wma-decoder FILE: decodes a WMA (or any sound FFmpeg reads) to
// 44100 Hz 16-bit PCM on standard output, in the layout of pcm_pipe.h.
// The game runs it for its WMA sounds so that FFmpeg and its hundred-odd
// libraries are mapped only in this short-lived process, never in the game.
// Prints nothing: the game reports a failure itself.
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include <unistd.h>

#include "wma_decoder/pcm_pipe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace {

// Everything FFmpeg hands out, freed whatever the way out.
struct Decoding {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    SwrContext* swr = nullptr;
    int stream = -1;
    int out_channels = 0;
    // What the resampler was set up for, from the first frame.
    int in_format = -1;
    int in_rate = 0;
    int in_channels = 0;
    std::vector<std::int16_t> pcm;

    ~Decoding()
    {
        swr_free(&swr);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }
};

bool open(Decoding& d, const char* path)
{
    if (avformat_open_input(&d.format, path, nullptr, nullptr) < 0 ||
        avformat_find_stream_info(d.format, nullptr) < 0) {
        return false;
    }
    const AVCodec* decoder = nullptr;
    d.stream = av_find_best_stream(d.format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (d.stream < 0 || !decoder) {
        return false;
    }
    d.codec = avcodec_alloc_context3(decoder);
    d.packet = av_packet_alloc();
    d.frame = av_frame_alloc();
    return d.codec && d.packet && d.frame &&
           avcodec_parameters_to_context(d.codec, d.format->streams[d.stream]->codecpar) >= 0 &&
           avcodec_open2(d.codec, decoder, nullptr) >= 0;
}

// Mono stays mono (the game's mixer puts it on both sides at full level);
// anything wider becomes stereo.
bool prepare_resampler(Decoding& d, const AVFrame* frame)
{
    if (d.swr) {
        // A frame of another shape would be read past its end: refused.
        return frame->format == d.in_format && frame->sample_rate == d.in_rate &&
               (frame->ch_layout.nb_channels == 0 || frame->ch_layout.nb_channels == d.in_channels);
    }
    AVChannelLayout in{};
    if (frame->ch_layout.nb_channels > 0 && frame->ch_layout.order != AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_copy(&in, &frame->ch_layout);
    } else if (d.codec->ch_layout.nb_channels > 0) {
        av_channel_layout_default(&in, d.codec->ch_layout.nb_channels);
    } else {
        return false;
    }
    d.out_channels = in.nb_channels == 1 ? 1 : 2;
    d.in_format = frame->format;
    d.in_rate = frame->sample_rate;
    d.in_channels = in.nb_channels;
    AVChannelLayout out{};
    av_channel_layout_default(&out, d.out_channels);
    const int made = swr_alloc_set_opts2(&d.swr, &out, AV_SAMPLE_FMT_S16, pcm_pipe::kRate, &in,
                                         static_cast<AVSampleFormat>(frame->format),
                                         frame->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    av_channel_layout_uninit(&out);
    return made >= 0 && d.swr && swr_init(d.swr) >= 0;
}

// Converts `frame` (null: the resampler's tail) onto the end of d.pcm.
bool convert(Decoding& d, const AVFrame* frame)
{
    const int in_samples = frame ? frame->nb_samples : 0;
    const int capacity = swr_get_out_samples(d.swr, in_samples);
    if (capacity <= 0) {
        return true;
    }
    const std::size_t start = d.pcm.size();
    d.pcm.resize(start + static_cast<std::size_t>(capacity) * d.out_channels);
    auto* out = reinterpret_cast<std::uint8_t*>(d.pcm.data() + start);
    const int made = swr_convert(d.swr, &out, capacity,
                                 frame ? const_cast<const std::uint8_t**>(frame->extended_data) : nullptr,
                                 in_samples);
    d.pcm.resize(start + static_cast<std::size_t>(made > 0 ? made : 0) * d.out_channels);
    return made >= 0 && d.pcm.size() / d.out_channels <= pcm_pipe::kMaxFrames;
}

bool receive_frames(Decoding& d)
{
    for (;;) {
        const int got = avcodec_receive_frame(d.codec, d.frame);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) {
            return true;
        }
        if (got < 0) {
            return false;
        }
        const bool ok = d.frame->nb_samples <= 0 ||
                        (prepare_resampler(d, d.frame) && convert(d, d.frame));
        av_frame_unref(d.frame);
        if (!ok) {
            return false;
        }
    }
}

bool decode(Decoding& d)
{
    while (av_read_frame(d.format, d.packet) >= 0) {
        if (d.packet->stream_index == d.stream) {
            // A damaged packet is skipped; the decoder resynchronises.
            avcodec_send_packet(d.codec, d.packet);
        }
        av_packet_unref(d.packet);
        if (!receive_frames(d)) {
            return false;
        }
    }
    avcodec_send_packet(d.codec, nullptr);
    if (!receive_frames(d)) {
        return false;
    }
    return d.swr && convert(d, nullptr) && !d.pcm.empty();
}

bool write_all(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(STDOUT_FILENO, bytes, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        return pcm_pipe::kExitUsage;
    }
    av_log_set_level(AV_LOG_QUIET);
    Decoding d;
    if (!open(d, argv[1]) || !decode(d)) {
        return pcm_pipe::kExitUndecodable;
    }
    pcm_pipe::Header header{};
    std::memcpy(header.magic, pcm_pipe::kMagic, sizeof header.magic);
    header.channels = static_cast<std::uint32_t>(d.out_channels);
    header.rate = pcm_pipe::kRate;
    header.frames = static_cast<std::uint32_t>(d.pcm.size() / d.out_channels);
    if (!write_all(&header, sizeof header) ||
        !write_all(d.pcm.data(), d.pcm.size() * sizeof(std::int16_t))) {
        return pcm_pipe::kExitWriteFailed;
    }
    return 0;
}
