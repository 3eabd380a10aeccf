#include "image/PictureRepair.h"

#include <algorithm>
#include <string_view>

#include "image/GifBlocks.h"
#include "image/GifDecoder.h"

namespace qx {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The smallest table the decoder takes: 16 entries.
constexpr int kLeastTableField = 3;
constexpr int kFullResolutionField = 7;

std::string Num(long long value) { return std::to_string(value); }

// "a PNG picture" and the like, for bytes that are no picture the player reads.
std::string UnknownPictureText(std::span<const std::uint8_t> bytes) {
    auto starts = [&](std::string_view magic) {
        return bytes.size() >= magic.size() &&
               std::equal(magic.begin(), magic.end(), bytes.begin(),
                          [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
    };
    if (starts("\x89PNG")) return "is a PNG picture, which the player does not read; save it as a GIF";
    if (starts("\xFF\xD8\xFF")) return "is a JPEG picture, which the player does not read; save it as a GIF";
    if (starts("RIFF")) return "is a RIFF file (perhaps a sound), not a picture";
    return "is neither a GIF nor a bitmap picture";
}

std::string BitmapText(PictureError refusal) {
    switch (refusal) {
    case PictureError::BitmapTruncated: return "is a bitmap file that is cut short";
    case PictureError::BitmapHeaderTooSmall: return "is a bitmap with an old-style header the player does not read";
    case PictureError::BitmapCompressed: return "is a compressed bitmap; save it uncompressed";
    case PictureError::BitmapBadBitCount:
        return "is a bitmap with a number of bits per pixel the player does not read";
    case PictureError::BitmapBadSize: return "is a bitmap whose width, height or image size is unusable";
    case PictureError::BitmapTooManyColours: return "is a bitmap with more than 256 colours in its colour table";
    case PictureError::BitmapTooLarge: return "is a bitmap too large for the player";
    case PictureError::BitmapNoMemory: return "is a bitmap that could not be held in memory";
    default: break;
    }
    return "is a bitmap the player refuses";
}

constexpr char kPaletteAdvice[] =
    "save it with a 16- or 256-colour palette at full colour resolution, turning off any setting that "
    "shrinks the palette to the colours used";

std::string GifErrorText(int error) {
    std::string why;
    switch (error) {
    case GIF_ERR_INPUT_END: why = "is a GIF that ends before its picture is complete (the file is cut short)"; break;
    case GIF_ERR_BAD_CODE: why = "is a GIF whose compressed picture data is damaged"; break;
    case GIF_ERR_DATA_END: why = "is a GIF whose picture data ends early"; break;
    case GIF_ERR_NO_MEMORY: why = "is a GIF that holds no picture, or one too large for the player"; break;
    case GIF_ERR_EMPTY_IMAGE: why = "is a GIF whose picture is 0 pixels wide or high"; break;
    case GIF_ERR_NOT_GIF: why = "is not a GIF picture"; break;
    case GIF_ERR_NO_COLOURS: why = std::string("is a GIF without any colour table; ") + kPaletteAdvice; break;
    default: why = "is a GIF the player cannot decode"; break;
    }
    return why + " [" + ImageErrorName(error) + "]";
}

// "a, b and c".
std::string JoinChanges(const std::vector<std::string>& changes) {
    std::string text;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (i > 0) text += i + 1 == changes.size() ? " and " : ", ";
        text += changes[i];
    }
    return text;
}

// The header-and-table rewrite, with what it changes; an empty list of
// changes when there is nothing it could change.
struct Rewrite {
    Bytes bytes;
    std::vector<std::string> changes;
};

Rewrite RewriteHeader(std::span<const std::uint8_t> in, const GifLayout& layout) {
    Rewrite out;
    if (layout.end == GifLayout::End::NotGif || layout.end == GifLayout::End::CutInScreen) return out;
    std::uint8_t flags = layout.screenFlags;
    if (((flags >> 4) & 7) < 3) {
        flags = static_cast<std::uint8_t>((flags & 0x8F) | (kFullResolutionField << 4));
        out.changes.push_back("raises the colour resolution to 8 bits per primary colour");
    }
    // A table shorter than the decoder takes grows to 16 entries; the added
    // black entries are ones no pixel of a well-made file uses, so the
    // picture looks the same.
    const bool padTable = layout.hasGlobalTable && layout.globalSizeField < kLeastTableField &&
                          layout.end != GifLayout::End::CutInTable;
    if (padTable) {
        flags = static_cast<std::uint8_t>((flags & 0xF8) | kLeastTableField);
        out.changes.push_back("pads the colour table from " + Num(2 << layout.globalSizeField) +
                              " to 16 entries with black");
    }
    // Without the flag every decoder ignores the size field, so sizing it
    // changes nothing any decoder shows. (Promoting the first image's local
    // table to a global one would also reach this decoder, but would move
    // bytes, and give later images without a table of their own colours they
    // never had.)
    if (!layout.hasGlobalTable && layout.globalSizeField < kLeastTableField) {
        flags = static_cast<std::uint8_t>((flags & 0xF8) | kLeastTableField);
        out.changes.push_back("sizes the unused global colour table field for 16 colours");
    }
    const bool addTrailer = layout.end == GifLayout::End::NoTrailer;
    if (addTrailer) out.changes.push_back("adds the missing end-of-file marker");
    if (out.changes.empty()) return out;

    const std::size_t tableEnd = kGifScreenEnd + layout.globalTableBytes;
    out.bytes.reserve(in.size() + GifTableBytes(kLeastTableField) + 1);
    out.bytes.assign(in.begin(), in.begin() + kGifScreenEnd);
    out.bytes[kGifScreenFlagsOffset] = flags;
    if (padTable) {
        const auto table = in.begin() + static_cast<std::ptrdiff_t>(tableEnd);
        out.bytes.insert(out.bytes.end(), in.begin() + kGifScreenEnd, table);
        out.bytes.resize(kGifScreenEnd + GifTableBytes(kLeastTableField), 0);
        out.bytes.insert(out.bytes.end(), table, in.end());
    } else {
        out.bytes.insert(out.bytes.end(), in.begin() + kGifScreenEnd, in.end());
    }
    if (addTrailer) out.bytes.push_back(kGifTrailer);
    return out;
}

}  // namespace

std::string WhyPictureRefused(std::span<const std::uint8_t> bytes, const PictureResult& result) {
    if (bytes.empty()) return "is empty";
    switch (result.kind) {
    case PictureKind::Unknown: return UnknownPictureText(bytes);
    case PictureKind::Bitmap: return BitmapText(result.error);
    case PictureKind::Gif: break;
    }
    const std::uint8_t flags = bytes.size() > kGifScreenFlagsOffset ? bytes[kGifScreenFlagsOffset] : 0;
    switch (result.error) {
    case PictureError::GifColourResolution: {
        const int bits = ((flags >> 4) & 7) + 1;
        return "is a GIF saved with a colour resolution of " + Num(bits) + (bits == 1 ? " bit" : " bits") +
               " per primary colour, and the player refuses anything below 4; " + kPaletteAdvice;
    }
    case PictureError::GifSmallGlobalTable:
        return "is a GIF whose colour table is sized for " + Num(2 << (flags & 7)) +
               " colours, and the player needs room for at least 16, however few are used; " + kPaletteAdvice;
    default: break;
    }
    return GifErrorText(result.gifCode);
}

PictureDiagnosis DiagnosePicture(std::span<const std::uint8_t> bytes, std::size_t maxBlockBytes) {
    PictureDiagnosis diagnosis;
    const PictureResult original = DecodePicture(bytes.data(), bytes.size(), maxBlockBytes);
    if (original.kind != PictureKind::Gif) {
        if (!original.block) diagnosis.reason = WhyPictureRefused(bytes, original);
        diagnosis.verdict = original.block ? PictureVerdict::Shows : PictureVerdict::Refused;
        return diagnosis;
    }
    const GifLayout layout = WalkGif(bytes);
    diagnosis.images = layout.images;
    if (original.block) {
        diagnosis.verdict = PictureVerdict::Shows;
        return diagnosis;
    }
    diagnosis.verdict = PictureVerdict::Refused;
    diagnosis.reason = WhyPictureRefused(bytes, original);

    Rewrite rewrite = RewriteHeader(bytes, layout);
    int error = original.gifCode;
    if (!rewrite.changes.empty()) {
        const PictureResult repaired = DecodePicture(rewrite.bytes.data(), rewrite.bytes.size(), maxBlockBytes);
        if (repaired.block) {
            diagnosis.verdict = PictureVerdict::Repairable;
            diagnosis.repair = JoinChanges(rewrite.changes);
            diagnosis.repaired = std::move(rewrite.bytes);
            return diagnosis;
        }
        diagnosis.reason = WhyPictureRefused(rewrite.bytes, repaired);
        error = repaired.gifCode;
    }
    // Whatever the decoder stumbles on first in a whole file without an
    // image, that is the thing to tell.
    const bool whole = layout.end == GifLayout::End::Trailer || layout.end == GifLayout::End::NoTrailer;
    if (whole && layout.images == 0) {
        diagnosis.reason = std::string("is a GIF that holds no picture [") + ImageErrorName(error) + "]";
    }
    return diagnosis;
}

}  // namespace qx
