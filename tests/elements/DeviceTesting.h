#pragma once
// Small helpers shared by the device tests.
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "support/LogCapture.h"
#include "world/ByteStream.h"
#include "world/Particle.h"

template <class T> T* as(Particle* p)
{
    return static_cast<T*>(p);
}

// Lines of the capture that contain the text.
inline int logCount(const testsupport::LogCapture& log, std::string_view text)
{
    int n = 0;
    for (const std::string& line : log.lines())
        if (line.find(text) != std::string::npos)
            ++n;
    return n;
}

// Hands the particle saved words, as a loaded world would.
inline void loadWords(Particle* p, std::initializer_list<int32_t> words)
{
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    for (int32_t w : words)
        out.i32(w);
    ByteReader in(bytes.data(), bytes.size());
    p->loadExtra(in);
}
