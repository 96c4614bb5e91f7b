// The game's sound operations on our own layer: FFmpeg decodes, OpenAL Soft
// mixes and plays. Every call checks its handle against the ones given out,
// so a null, stale or already released handle is simply ignored.
#include "audio/fsound.h"

#include "audio/audio_layer.h"

signed char FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int)
{
    return AudioLayer::instance().init(mixrate, maxsoftwarechannels) ? 1 : 0;
}

void FSOUND_Close()
{
    AudioLayer::instance().close();
}

FSOUND_STREAM* FSOUND_Stream_Open(const char* name, unsigned int, int, int)
{
    return AudioLayer::instance().open_stream(name);
}

signed char FSOUND_Stream_SetLoopCount(FSOUND_STREAM* stream, int count)
{
    if (!AudioLayer::instance().owns(stream)) {
        return 0;
    }
    stream->loops = count < 0 ? -1 : count;
    return 1;
}

int FSOUND_Stream_Play(int, FSOUND_STREAM* stream)
{
    if (!AudioLayer::instance().owns(stream)) {
        return -1;
    }
    ++stream->plays;
    if (!stream->audio) {
        return -1;
    }
    stream->audio->play(stream->loops);
    return 0;
}

signed char FSOUND_Stream_Stop(FSOUND_STREAM* stream)
{
    if (!AudioLayer::instance().owns(stream)) {
        return 0;
    }
    if (stream->audio) {
        stream->audio->stop();
    }
    return 1;
}

signed char FSOUND_Stream_Close(FSOUND_STREAM* stream)
{
    AudioLayer& layer = AudioLayer::instance();
    if (!layer.owns(stream)) {
        return 0;
    }
    layer.close_stream(stream);
    return 1;
}

FSOUND_SAMPLE* FSOUND_Sample_Load(int, const char* name, unsigned int, int, int)
{
    return AudioLayer::instance().load_sample(name);
}

int FSOUND_PlaySound(int, FSOUND_SAMPLE* sample)
{
    AudioLayer& layer = AudioLayer::instance();
    if (!layer.owns(sample)) {
        return -1;
    }
    ++sample->plays;
    if (!sample->clip || !layer.device()) {
        return -1;
    }
    layer.device()->play(sample->clip->buffer());
    return 0;
}

void FSOUND_Sample_Free(FSOUND_SAMPLE* sample)
{
    AudioLayer::instance().free_sample(sample);
}

namespace audio_probe {

unsigned stream_play_count(const FSOUND_STREAM* stream)
{
    return AudioLayer::instance().owns(stream) ? stream->plays : 0;
}

unsigned sample_play_count(const FSOUND_SAMPLE* sample)
{
    return AudioLayer::instance().owns(sample) ? sample->plays : 0;
}

}  // namespace audio_probe
