#pragma once
// Little-endian byte cursors for everything the world saves: each value is
// written and read byte by byte, never as a copied struct. A reader never
// reads past its end: a short read fails, leaves the value untouched and
// puts the reader in the failed state, which sticks.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// A little-endian value where the caller has checked that four bytes lie:
// for reading a checked section straight, and for patching one in place.
inline uint32_t loadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
        static_cast<uint32_t>(p[3]) << 24;
}

inline void storeU32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : m_out(out) { }

    void u8(uint8_t v) { m_out.push_back(v); }
    void boolean(bool v) { u8(v ? 1 : 0); }
    void u16(uint16_t v)
    {
        u8(static_cast<uint8_t>(v));
        u8(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v)
    {
        for (int shift = 0; shift < 32; shift += 8)
            u8(static_cast<uint8_t>(v >> shift));
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void u64(uint64_t v)
    {
        for (int shift = 0; shift < 64; shift += 8)
            u8(static_cast<uint8_t>(v >> shift));
    }
    void i64(int64_t v) { u64(static_cast<uint64_t>(v)); }
    void f32(float v)
    {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void bytes(const void* data, size_t size)
    {
        const uint8_t* p = static_cast<const uint8_t*>(data);
        m_out.insert(m_out.end(), p, p + size);
    }
    size_t size() const { return m_out.size(); }

private:
    std::vector<uint8_t>& m_out;
};

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(data ? size : 0) { }

    bool ok() const { return m_ok; }
    size_t position() const { return m_pos; }
    size_t remaining() const { return m_size - m_pos; }

    bool u8(uint8_t& v)
    {
        if (!take(1))
            return false;
        v = m_data[m_pos++];
        return true;
    }
    bool boolean(bool& v)
    {
        uint8_t b;
        if (!u8(b))
            return false;
        v = b != 0;
        return true;
    }
    bool u16(uint16_t& v)
    {
        if (!take(2))
            return false;
        v = static_cast<uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }
    bool u32(uint32_t& v)
    {
        if (!take(4))
            return false;
        v = loadU32(m_data + m_pos);
        m_pos += 4;
        return true;
    }
    bool i32(int32_t& v)
    {
        uint32_t u;
        if (!u32(u))
            return false;
        v = static_cast<int32_t>(u);
        return true;
    }
    bool u64(uint64_t& v)
    {
        if (!take(8))
            return false;
        uint64_t r = 0;
        for (int i = 7; i >= 0; --i)
            r = (r << 8) | m_data[m_pos + i];
        m_pos += 8;
        v = r;
        return true;
    }
    bool i64(int64_t& v)
    {
        uint64_t u;
        if (!u64(u))
            return false;
        v = static_cast<int64_t>(u);
        return true;
    }
    bool f32(float& v)
    {
        uint32_t bits;
        if (!u32(bits))
            return false;
        std::memcpy(&v, &bits, sizeof v);
        return true;
    }
    bool bytes(void* out, size_t size)
    {
        if (!take(size))
            return false;
        if (size)
            std::memcpy(out, m_data + m_pos, size);
        m_pos += size;
        return true;
    }
    bool skip(size_t size)
    {
        if (!take(size))
            return false;
        m_pos += size;
        return true;
    }

private:
    bool take(size_t n)
    {
        if (!m_ok || n > m_size - m_pos) {
            m_ok = false;
            return false;
        }
        return true;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};
