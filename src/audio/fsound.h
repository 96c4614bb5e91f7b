#ifndef TIREVANE_AUDIO_FSOUND_H
#define TIREVANE_AUDIO_FSOUND_H

// The game's sound operations. Every call is safe in any state: without a
// sound device, with a missing or undecodable file, with a null handle or
// after FSOUND_Close it does nothing, prints nothing and never blocks
// (loading a WMA waits at most two seconds for its decoder). The one
// exception to printing: a WMA file the decoder program cannot
// turn into sound is named in one line, since only the player can fix it.
// Output and mixing are our own on SDL's audio: WAV files are read here,
// MP3 by libmpg123 while it plays, WMA by tirevane-wma-decoder in a
// process of its own. Call from one thread (the game's); mixing runs on
// SDL's audio thread.
//
// Open and load always return a handle, also without a device or for a
// missing or undecodable file: such a handle stays silent, and playing it
// answers -1. A handle opened before FSOUND_Init, or kept past FSOUND_Close,
// stays silent and is still closed or freed normally.
// Closing or freeing a handle twice, or a stale handle, does nothing.

// Opaque handles: a stream plays on a voice of its own (an MP3 is decoded
// while it plays: the music; other files are held whole: the menu shots),
// a sample is decoded whole when loaded (visor sounds).
struct FSOUND_STREAM;
struct FSOUND_SAMPLE;

// Opens the default output device with `maxsoftwarechannels` voices for
// samples (1 to 128); streams play on voices of their own. The output runs
// at 44100 Hz whatever `mixrate` asks. Returns 0 without a usable device.
// A second call keeps the open device.
signed char FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int flags);
// Stops every sound and releases the device.
void FSOUND_Close();

FSOUND_STREAM* FSOUND_Stream_Open(const char* name, unsigned int mode, int offset, int length);
// count -1 repeats without end, n > 0 plays n more times; read at the
// next FSOUND_Stream_Play.
signed char FSOUND_Stream_SetLoopCount(FSOUND_STREAM* stream, int count);
// Starts at once from the beginning, also when already playing.
int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream);
signed char FSOUND_Stream_Stop(FSOUND_STREAM* stream);
signed char FSOUND_Stream_Close(FSOUND_STREAM* stream);

FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* name, unsigned int mode, int offset, int length);
// Starts the sample on a free channel; when all are busy the oldest is reused.
int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample);
void FSOUND_Sample_Free(FSOUND_SAMPLE* sample);

#endif
