#include <vorbis/vorbisenc.h>

#include <stdexcept>

#include "tools/assetgen/music/compose.h"

namespace music {

std::string EncodeVorbis(const synth::Stereo& audio, int rate, float quality, int serial, const std::string& title) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, rate, quality) != 0)
        throw std::runtime_error("the Vorbis encoder refused its settings");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
    vorbis_comment_add_tag(&comment, "ALBUM", "Quillmere");
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);  // fixed serial: the same music gives the same bytes

    std::string out;
    ogg_page page;
    auto writePage = [&out, &page]() {
        out.append(reinterpret_cast<const char*>(page.header), static_cast<std::size_t>(page.header_len));
        out.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
    };
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage();

    auto drain = [&]() {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    writePage();
            }
        }
    };
    const std::size_t chunk = 4096;
    for (std::size_t at = 0; at < audio.Frames(); at += chunk) {
        std::size_t n = std::min(chunk, audio.Frames() - at);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
        for (std::size_t i = 0; i < n; ++i) {
            buffer[0][i] = audio.left[at + i];
            buffer[1][i] = audio.right[at + i];
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage();

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

}  // namespace music
