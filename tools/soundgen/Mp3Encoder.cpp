#include "Mp3Encoder.h"

#include <lame/lame.h>

#include <memory>

namespace soundgen {

bool encodeMp3(const Samples& left, const Samples* right, int kbps, std::vector<uint8_t>& out, std::string& error)
{
    std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> gf(lame_init(), lame_close);
    if (!gf) {
        error = "LAME does not start";
        return false;
    }
    lame_set_num_channels(gf.get(), right ? 2 : 1);
    lame_set_in_samplerate(gf.get(), kRate);
    lame_set_out_samplerate(gf.get(), kRate);
    lame_set_mode(gf.get(), right ? JOINT_STEREO : MONO);
    lame_set_VBR(gf.get(), vbr_off);
    lame_set_brate(gf.get(), kbps);
    lame_set_quality(gf.get(), 5);
    lame_set_bWriteVbrTag(gf.get(), 1);
    lame_set_write_id3tag_automatic(gf.get(), 0);
    if (lame_init_params(gf.get()) < 0) {
        error = "LAME rejects its settings";
        return false;
    }
    const int n = static_cast<int>(left.size());
    std::vector<uint8_t> buffer(static_cast<size_t>(n) * 5 / 4 + 7200 + 16384);
    int written = lame_encode_buffer_ieee_float(gf.get(), left.data(), right ? right->data() : left.data(), n,
                                                buffer.data(), static_cast<int>(buffer.size()));
    if (written < 0) {
        error = "LAME fails to encode (" + std::to_string(written) + ")";
        return false;
    }
    out.assign(buffer.begin(), buffer.begin() + written);
    written = lame_encode_flush(gf.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (written < 0) {
        error = "LAME fails to flush";
        return false;
    }
    out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    // The info tag is only complete now; it replaces the placeholder frame.
    size_t tagSize = lame_get_lametag_frame(gf.get(), buffer.data(), buffer.size());
    if (tagSize == 0 || tagSize > out.size()) {
        error = "LAME writes no info tag";
        return false;
    }
    std::copy(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(tagSize), out.begin());
    return true;
}

}  // namespace soundgen
