#include "audio/audio_decoder.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace {

// Read in pieces of this many frames when a whole file is wanted.
constexpr std::size_t kDecodeChunk = 16384;

}  // namespace

AudioDecoder::~AudioDecoder()
{
    release();
}

void AudioDecoder::release()
{
    swr_free(&swr_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
    stream_index_ = -1;
    swr_format_ = -1;
    pending_.clear();
    pending_pos_ = 0;
}

bool AudioDecoder::open(const char* path)
{
    release();
    // The game prints nothing; FFmpeg would otherwise warn about odd files.
    av_log_set_level(AV_LOG_QUIET);
    if (!path || avformat_open_input(&format_, path, nullptr, nullptr) < 0) {
        return false;
    }
    const AVCodec* decoder = nullptr;
    if (avformat_find_stream_info(format_, nullptr) < 0 ||
        (stream_index_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0)) < 0 ||
        !decoder) {
        release();
        return false;
    }
    codec_ = avcodec_alloc_context3(decoder);
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    if (!codec_ || !packet_ || !frame_ ||
        avcodec_parameters_to_context(codec_, format_->streams[stream_index_]->codecpar) < 0 ||
        avcodec_open2(codec_, decoder, nullptr) < 0) {
        release();
        return false;
    }
    draining_ = false;
    finished_ = false;
    at_start_ = true;
    return true;
}

double AudioDecoder::duration_seconds() const
{
    if (!format_) {
        return -1.0;
    }
    const AVStream* stream = format_->streams[stream_index_];
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        return static_cast<double>(stream->duration) * av_q2d(stream->time_base);
    }
    if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0) {
        return static_cast<double>(format_->duration) / AV_TIME_BASE;
    }
    return -1.0;
}

bool AudioDecoder::rewind()
{
    if (!format_) {
        return false;
    }
    if (at_start_) {
        return true;
    }
    if (av_seek_frame(format_, stream_index_, 0, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(format_, -1, INT64_MIN, 0, 0, 0) < 0) {
        return false;
    }
    avcodec_flush_buffers(codec_);
    // A fresh resampler: no tail of the previous pass leaks into the next.
    swr_free(&swr_);
    swr_format_ = -1;
    pending_.clear();
    pending_pos_ = 0;
    draining_ = false;
    finished_ = false;
    at_start_ = true;
    return true;
}

std::size_t AudioDecoder::read(std::int16_t* out, std::size_t frames)
{
    std::size_t done = 0;
    while (done < frames) {
        const std::size_t available = (pending_.size() - pending_pos_) / kChannels;
        if (available == 0) {
            pending_.clear();
            pending_pos_ = 0;
            if (finished_ || !decode_more()) {
                break;
            }
            continue;
        }
        const std::size_t n = std::min(available, frames - done);
        std::memcpy(out + done * kChannels, pending_.data() + pending_pos_,
                    n * kChannels * sizeof(std::int16_t));
        pending_pos_ += n * kChannels;
        done += n;
    }
    if (done > 0) {
        at_start_ = false;
    }
    return done;
}

// One step of FFmpeg's send/receive loop; false once nothing more can come.
bool AudioDecoder::decode_more()
{
    if (!format_ || finished_) {
        return false;
    }
    at_start_ = false;
    const int received = avcodec_receive_frame(codec_, frame_);
    if (received == 0) {
        const bool ok = convert(frame_);
        av_frame_unref(frame_);
        return ok || !finished_;
    }
    if (received == AVERROR(EAGAIN) && !draining_) {
        if (av_read_frame(format_, packet_) < 0) {
            draining_ = true;
            avcodec_send_packet(codec_, nullptr);
            return true;
        }
        if (packet_->stream_index == stream_index_) {
            // A damaged packet is skipped; the decoder resynchronises.
            avcodec_send_packet(codec_, packet_);
        }
        av_packet_unref(packet_);
        return true;
    }
    // End of the file, or an error the decoder cannot get past.
    flush_resampler();
    finished_ = true;
    return !pending_.empty();
}

bool AudioDecoder::prepare_resampler(const AVFrame* frame)
{
    AVChannelLayout in_layout{};  // copy() releases its destination first
    if (frame->ch_layout.nb_channels > 0 && frame->ch_layout.order != AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_copy(&in_layout, &frame->ch_layout);
    } else {
        const int channels = frame->ch_layout.nb_channels > 0 ? frame->ch_layout.nb_channels
                                                              : codec_->ch_layout.nb_channels;
        if (channels <= 0) {
            return false;
        }
        av_channel_layout_default(&in_layout, channels);
    }
    if (swr_ && swr_format_ == frame->format && swr_rate_ == frame->sample_rate &&
        swr_channels_ == in_layout.nb_channels) {
        av_channel_layout_uninit(&in_layout);
        return true;
    }
    swr_free(&swr_);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    int ok = swr_alloc_set_opts2(&swr_, &stereo, AV_SAMPLE_FMT_S16, kRate, &in_layout,
                                 static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0,
                                 nullptr);
    const bool mono = in_layout.nb_channels == 1;
    av_channel_layout_uninit(&in_layout);
    if (ok < 0 || !swr_) {
        swr_free(&swr_);
        return false;
    }
    // Mono goes to both speakers unchanged rather than 3 dB down.
    const double both_sides[2] = {1.0, 1.0};
    if ((mono && swr_set_matrix(swr_, both_sides, 1) < 0) || swr_init(swr_) < 0) {
        swr_free(&swr_);
        return false;
    }
    swr_format_ = frame->format;
    swr_rate_ = frame->sample_rate;
    swr_channels_ = frame->ch_layout.nb_channels > 0 ? frame->ch_layout.nb_channels
                                                      : codec_->ch_layout.nb_channels;
    return true;
}

bool AudioDecoder::convert(const AVFrame* frame)
{
    if (frame->nb_samples <= 0) {
        return true;
    }
    if (!prepare_resampler(frame)) {
        finished_ = true;
        return false;
    }
    const int capacity = swr_get_out_samples(swr_, frame->nb_samples);
    if (capacity <= 0) {
        return true;
    }
    const std::size_t start = pending_.size();
    pending_.resize(start + static_cast<std::size_t>(capacity) * kChannels);
    std::uint8_t* out = reinterpret_cast<std::uint8_t*>(pending_.data() + start);
    const int produced = swr_convert(swr_, &out, capacity,
                                     const_cast<const std::uint8_t**>(frame->extended_data),
                                     frame->nb_samples);
    pending_.resize(start + static_cast<std::size_t>(std::max(produced, 0)) * kChannels);
    return true;
}

void AudioDecoder::flush_resampler()
{
    if (!swr_) {
        return;
    }
    const int capacity = swr_get_out_samples(swr_, 0);
    if (capacity <= 0) {
        return;
    }
    const std::size_t start = pending_.size();
    pending_.resize(start + static_cast<std::size_t>(capacity) * kChannels);
    std::uint8_t* out = reinterpret_cast<std::uint8_t*>(pending_.data() + start);
    const int produced = swr_convert(swr_, &out, capacity, nullptr, 0);
    pending_.resize(start + static_cast<std::size_t>(std::max(produced, 0)) * kChannels);
}

bool AudioDecoder::decode_file(const char* path, std::vector<std::int16_t>& pcm)
{
    AudioDecoder decoder;
    pcm.clear();
    return decoder.open(path) && decoder.read_all(pcm);
}

bool AudioDecoder::read_all(std::vector<std::int16_t>& pcm)
{
    pcm.clear();
    const double seconds = duration_seconds();
    if (seconds > 0 && seconds < 600) {
        pcm.reserve(static_cast<std::size_t>((seconds + 0.1) * kRate) * kChannels);
    }
    std::size_t frames = 0;
    for (;;) {
        pcm.resize((frames + kDecodeChunk) * kChannels);
        const std::size_t got = read(pcm.data() + frames * kChannels, kDecodeChunk);
        frames += got;
        if (got < kDecodeChunk) {
            break;
        }
    }
    pcm.resize(frames * kChannels);
    pcm.shrink_to_fit();
    return frames > 0;
}
