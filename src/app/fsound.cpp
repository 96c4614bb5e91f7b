// Placeholder until the real audio layer lands: handles exist and count
// their plays, nothing is heard.
#include "app/fsound.h"

struct FSOUND_STREAM { unsigned plays = 0; };
struct FSOUND_SAMPLE { unsigned plays = 0; };

signed char FSOUND_Init(int, int, unsigned int) { return 1; }
void FSOUND_Close() {}
FSOUND_STREAM* FSOUND_Stream_Open(const char*, unsigned int, int, int) { return new FSOUND_STREAM; }
signed char FSOUND_Stream_SetLoopCount(FSOUND_STREAM*, int) { return 1; }
int FSOUND_Stream_Play(int, FSOUND_STREAM* s) { if (s) ++s->plays; return 0; }
signed char FSOUND_Stream_Stop(FSOUND_STREAM*) { return 1; }
signed char FSOUND_Stream_Close(FSOUND_STREAM* s) { delete s; return 1; }
FSOUND_SAMPLE* FSOUND_Sample_Load(int, const char*, unsigned int, int, int) { return new FSOUND_SAMPLE; }
int FSOUND_PlaySound(int, FSOUND_SAMPLE* s) { if (s) ++s->plays; return 0; }
void FSOUND_Sample_Free(FSOUND_SAMPLE* s) { delete s; }
namespace audio_probe {
unsigned stream_play_count(const FSOUND_STREAM* s) { return s ? s->plays : 0; }
unsigned sample_play_count(const FSOUND_SAMPLE* s) { return s ? s->plays : 0; }
}
