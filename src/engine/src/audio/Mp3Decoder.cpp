#include "audio/Mp3Decoder.h"

#include <mpg123.h>

#include <memory>
#include <mutex>

namespace CocosDenshion {

namespace {

struct HandleCloser {
    void operator()(mpg123_handle* h) const
    {
        mpg123_close(h);
        mpg123_delete(h);
    }
};

using Handle = std::unique_ptr<mpg123_handle, HandleCloser>;

Handle newHandle(std::string& error)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { mpg123_init(); });
    int err = MPG123_OK;
    Handle mh(mpg123_new(nullptr, &err));
    if (!mh)
        error = "the MP3 decoder does not start";
    return mh;
}

}  // namespace

bool probeMp3File(const std::string& path, std::string& error)
{
    Handle mh = newHandle(error);
    if (!mh)
        return false;
    mpg123_param(mh.get(), MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0);
    if (mpg123_open(mh.get(), path.c_str()) != MPG123_OK) {
        error = "cannot open " + path;
        return false;
    }
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(mh.get(), &rate, &channels, &encoding) != MPG123_OK) {
        error = path + " is not MPEG audio";
        return false;
    }
    const off_t announced = mpg123_length(mh.get());
    if (mpg123_scan(mh.get()) != MPG123_OK) {
        error = path + " is damaged";
        return false;
    }
    const off_t found = mpg123_length(mh.get());
    if (announced <= 0 || found < announced) {
        error = path + " is damaged or truncated (" + std::to_string(found) + " of " + std::to_string(announced) +
            " samples)";
        return false;
    }
    return true;
}

bool decodeMp3File(const std::string& path, DecodedSound& out, std::string& error)
{
    out = DecodedSound();
    Handle mh = newHandle(error);
    if (!mh)
        return false;
    mpg123_param(mh.get(), MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0);
    // Any rate, but always 16-bit samples: the caller checks the rate.
    mpg123_format_none(mh.get());
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(mh.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(mh.get(), path.c_str()) != MPG123_OK) {
        error = "cannot open " + path;
        return false;
    }
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(mh.get(), &rate, &channels, &encoding) != MPG123_OK || channels < 1 || channels > 2) {
        error = path + " is not MPEG audio";
        return false;
    }
    // From the encoder's info tag: exactly what a whole file decodes to.
    const off_t expected = mpg123_length(mh.get());
    unsigned char buffer[16384];
    while (true) {
        size_t done = 0;
        int status = mpg123_read(mh.get(), buffer, sizeof buffer, &done);
        const int16_t* pcm = reinterpret_cast<const int16_t*>(buffer);
        out.samples.insert(out.samples.end(), pcm, pcm + done / sizeof(int16_t));
        if (status == MPG123_DONE)
            break;
        if (status == MPG123_NEW_FORMAT) {
            long r = 0;
            int c = 0, e = 0;
            mpg123_getformat(mh.get(), &r, &c, &e);
            if (r != rate || c != channels) {
                error = path + " changes its format midway";
                return false;
            }
            continue;
        }
        if (status != MPG123_OK) {
            error = path + " is damaged (" + mpg123_strerror(mh.get()) + ")";
            return false;
        }
    }
    out.rate = static_cast<int>(rate);
    out.channels = channels;
    if (out.samples.empty() || (expected > 0 && static_cast<off_t>(out.frames()) != expected)) {
        error = path + " is damaged or truncated (" + std::to_string(out.frames()) + " of " + std::to_string(expected) +
            " samples)";
        out = DecodedSound();
        return false;
    }
    return true;
}

}  // namespace CocosDenshion
