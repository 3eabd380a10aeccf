#include "tools/DecodeCommand.h"

#include <cstdio>
#include <string>
#include <vector>

#include "image/PackedDib.h"
#include "image/Picture.h"
#include "tools/CommandIo.h"

namespace qx::tool {

namespace {

int RunDecode(std::span<char* const> args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: qxmtool decode IN OUT.bmp\n");
        return 2;
    }
    std::string whyNot;
    const auto input = ReadInputFile(args[0], whyNot);
    if (!input) {
        std::fprintf(stderr, "%s: cannot read\n", args[0]);
        return 1;
    }
    const PictureResult picture = DecodePicture(input->data(), input->size());
    if (!picture.block) {
        switch (picture.kind) {
        case PictureKind::Unknown:
            std::fprintf(stderr, "%s: neither a GIF nor a bitmap (\"BM\") picture\n", args[0]);
            break;
        case PictureKind::Bitmap:
            std::fprintf(stderr, "%s: bitmap refused: %s\n", args[0], PictureErrorName(picture.error));
            break;
        case PictureKind::Gif:
            // A refusal by a rule that sets no code is told beside the code.
            if (picture.error == PictureError::GifColourResolution ||
                picture.error == PictureError::GifSmallGlobalTable) {
                std::fprintf(stderr, "%s: %s (%s)\n", args[0], ImageErrorName(picture.gifCode),
                             PictureErrorName(picture.error));
            } else {
                std::fprintf(stderr, "%s: %s\n", args[0], ImageErrorName(picture.gifCode));
            }
            break;
        }
        return 1;
    }
    // The bitmap replaces OUT only when written whole.
    if (WriteFileWhole(args[1], BitmapFileBytes(*picture.block))) {
        std::fprintf(stderr, "%s: cannot write\n", args[1]);
        return 1;
    }
    const InfoHeader h = ReadInfoHeader(picture.block->data());
    std::printf("%s: %d x %d, %d bits per pixel, %u colours\n", args[1], h.width, h.height, h.bitCount, h.clrUsed);
    return 0;
}

}  // namespace

const Command kDecodeCommand = {
    "decode",
    "IN OUT.bmp",
    "decode a GIF or bitmap picture as the builder does and write it as a .bmp file",
    RunDecode,
};

}  // namespace qx::tool
