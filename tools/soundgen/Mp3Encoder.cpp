#include "Mp3Encoder.h"

#include <lame/lame.h>

namespace soundgen {

void Mp3Encoder::Close::operator()(lame_global_struct* flags) const
{
    lame_close(flags);
}

bool Mp3Encoder::open(bool stereo, int kbps, std::string& error)
{
    m_flags.reset(lame_init());
    m_stereo = stereo;
    lame_global_flags* gf = m_flags.get();
    if (!gf) {
        error = "LAME does not start";
        return false;
    }
    lame_set_num_channels(gf, stereo ? 2 : 1);
    lame_set_in_samplerate(gf, kRate);
    lame_set_out_samplerate(gf, kRate);
    lame_set_mode(gf, stereo ? JOINT_STEREO : MONO);
    lame_set_VBR(gf, vbr_off);
    lame_set_brate(gf, kbps);
    lame_set_quality(gf, 5);
    lame_set_bWriteVbrTag(gf, 1);
    lame_set_write_id3tag_automatic(gf, 0);
    if (lame_init_params(gf) < 0) {
        m_flags.reset();
        error = "LAME rejects its settings";
        return false;
    }
    return true;
}

bool Mp3Encoder::encode(const Samples& left, const Samples* right, std::vector<uint8_t>& out, std::string& error)
{
    lame_global_flags* gf = m_flags.get();
    if (!gf || (right != nullptr) != m_stereo || (right && right->size() != left.size())) {
        error = gf ? "the channels do not match the encoder's set-up" : "the encoder is not set up";
        return false;
    }
    const int n = static_cast<int>(left.size());
    std::vector<uint8_t> buffer(static_cast<size_t>(n) * 5 / 4 + 7200 + 16384);
    int written = lame_encode_buffer_ieee_float(gf, left.data(), right ? right->data() : left.data(), n, buffer.data(),
                                                static_cast<int>(buffer.size()));
    if (written < 0) {
        error = "LAME fails to encode (" + std::to_string(written) + ")";
        return false;
    }
    out.assign(buffer.begin(), buffer.begin() + written);
    written = lame_encode_flush(gf, buffer.data(), static_cast<int>(buffer.size()));
    if (written < 0) {
        error = "LAME fails to flush";
        return false;
    }
    out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    // The info tag is only complete now; it replaces the placeholder frame.
    size_t tagSize = lame_get_lametag_frame(gf, buffer.data(), buffer.size());
    m_flags.reset();
    if (tagSize == 0 || tagSize > out.size()) {
        error = "LAME writes no info tag";
        return false;
    }
    std::copy(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(tagSize), out.begin());
    return true;
}

bool encodeMp3(const Samples& left, const Samples* right, int kbps, std::vector<uint8_t>& out, std::string& error)
{
    Mp3Encoder encoder;
    return encoder.open(right != nullptr, kbps, error) && encoder.encode(left, right, out, error);
}

}  // namespace soundgen
