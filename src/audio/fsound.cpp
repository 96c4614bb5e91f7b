// The game's sound operations on our own layer. Every call checks its
// handle against the ones given out, so a null, stale or already released
// handle is simply ignored.
#include "audio/fsound.h"

#include "audio/audio_layer.h"

signed char FSOUND_Init(int, int maxsoftwarechannels, unsigned int)
{
    return AudioLayer::instance().init(maxsoftwarechannels) ? 1 : 0;
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
    AudioLayer& layer = AudioLayer::instance();
    if (!layer.owns(stream)) {
        return -1;
    }
    return layer.play_stream(stream) ? 0 : -1;
}

signed char FSOUND_Stream_Stop(FSOUND_STREAM* stream)
{
    AudioLayer& layer = AudioLayer::instance();
    if (!layer.owns(stream)) {
        return 0;
    }
    layer.stop_stream(stream);
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
    return layer.play_sample(sample) ? 0 : -1;
}

void FSOUND_Sample_Free(FSOUND_SAMPLE* sample)
{
    AudioLayer::instance().free_sample(sample);
}
