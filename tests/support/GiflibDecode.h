// The first image of a GIF decoded by giflib from memory, row by row, as
// colours: the comparison point for the benchmark and the giflib tests.
// Needs gif_lib.h and linking with giflib.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace qx::test {

struct GiflibImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;  // top row first, in picture order
    std::vector<std::uint32_t> rgb;     // 0xRRGGBB per pixel
};

// With wantColours false only the indices are produced (the benchmark's work).
inline std::optional<GiflibImage> GiflibDecodeFirst(const std::uint8_t* data, std::size_t length,
                                                    bool wantColours = true) {
    struct Source {
        const std::uint8_t* data;
        std::size_t left;
    } source{data, length};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, [](GifFileType* g, GifByteType* out, int n) {
        auto* src = static_cast<Source*>(g->UserData);
        const std::size_t take = std::min(static_cast<std::size_t>(n), src->left);
        std::memcpy(out, src->data, take);
        src->data += take;
        src->left -= take;
        return static_cast<int>(take);
    }, &error);
    if (!gif) return std::nullopt;
    std::optional<GiflibImage> result;
    GifRecordType type;
    while (!result && DGifGetRecordType(gif, &type) == GIF_OK && type != TERMINATE_RECORD_TYPE) {
        if (type == EXTENSION_RECORD_TYPE) {
            int code;
            GifByteType* ext;
            if (DGifGetExtension(gif, &code, &ext) != GIF_OK) break;
            while (ext && DGifGetExtensionNext(gif, &ext) == GIF_OK) {
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif) != GIF_OK) break;
        GiflibImage image{gif->Image.Width, gif->Image.Height, {}, {}};
        if (image.width <= 0 || image.height <= 0) break;
        image.indices.assign(static_cast<std::size_t>(image.width) * image.height, 0);
        // Rows in the order the data sends them: an interlaced image in four passes.
        const bool interlaced = gif->Image.Interlace;
        const int start[4] = {0, 4, 2, 1};
        const int step[4] = {8, 8, 4, 2};
        std::vector<int> order;
        for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass) {
            for (int y = interlaced ? start[pass] : 0; y < image.height; y += interlaced ? step[pass] : 1) {
                order.push_back(y);
            }
        }
        bool ok = true;
        for (std::size_t r = 0; r < order.size() && ok; ++r) {
            ok = DGifGetLine(gif, image.indices.data() + std::size_t(order[r]) * image.width, image.width) == GIF_OK;
        }
        if (!ok) break;
        const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
        if (wantColours) {
            // Black past the table's end, or without a table.
            for (std::uint8_t i : image.indices) {
                const GifColorType* e = map && i < map->ColorCount ? &map->Colors[i] : nullptr;
                image.rgb.push_back(e ? (std::uint32_t{e->Red} << 16) | (e->Green << 8) | e->Blue : 0);
            }
        }
        result = std::move(image);
    }
    DGifCloseFile(gif, &error);
    return result;
}

}  // namespace qx::test
