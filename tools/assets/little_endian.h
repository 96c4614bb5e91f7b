#ifndef TIREVANE_TOOLS_LITTLE_ENDIAN_H
#define TIREVANE_TOOLS_LITTLE_ENDIAN_H

#include <vector>

// BMP and WAV headers store their numbers least significant byte first.
inline void put_u16(std::vector<unsigned char>& out, unsigned v)
{
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

inline void put_u32(std::vector<unsigned char>& out, unsigned long v)
{
    put_u16(out, static_cast<unsigned>(v & 0xFFFF));
    put_u16(out, static_cast<unsigned>((v >> 16) & 0xFFFF));
}

#endif
