#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "image/CBmpDib.h"
#include "image/ImageWriter.h"
#include "base/Format.h"
#include "ui/Messages.h"
#include "base/SafeFile.h"

namespace pixmond {

namespace {

constexpr size_t kChunk = 64 * 1024;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }
void OnMessage(j_common_ptr) {}

// Streams the compressed bytes into the new file in chunks.
struct FileDestination {
    jpeg_destination_mgr base;
    SafeFile* file;
    JOCTET buffer[kChunk];
};

void InitDestination(j_compress_ptr info) {
    auto* d = reinterpret_cast<FileDestination*>(info->dest);
    d->base.next_output_byte = d->buffer;
    d->base.free_in_buffer = kChunk;
}

boolean EmptyBuffer(j_compress_ptr info) {
    auto* d = reinterpret_cast<FileDestination*>(info->dest);
    if (!d->file->Write(d->buffer, kChunk)) info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
    InitDestination(info);
    return TRUE;
}

void TermDestination(j_compress_ptr info) {
    auto* d = reinterpret_cast<FileDestination*>(info->dest);
    if (!d->file->Write(d->buffer, kChunk - d->base.free_in_buffer))
        info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
}

struct Compressor {
    jpeg_compress_struct info{};
    ErrorManager errors{};
    FileDestination destination{};
    std::vector<JSAMPLE> row;
    bool created = false;
    ~Compressor() {
        if (created) jpeg_destroy_compress(&info);
    }
};

// Only memory reached through c changes after setjmp.
bool Compress(Compressor& c, const CBmpDib& bitmap, int quality) {
    c.info.err = jpeg_std_error(&c.errors.base);
    c.errors.base.error_exit = OnError;
    c.errors.base.output_message = OnMessage;
    if (setjmp(c.errors.jump)) return false;
    jpeg_create_compress(&c.info);
    c.created = true;
    c.destination.base.init_destination = InitDestination;
    c.destination.base.empty_output_buffer = EmptyBuffer;
    c.destination.base.term_destination = TermDestination;
    c.info.dest = &c.destination.base;
    c.info.image_width = JDIMENSION(bitmap.Width());
    c.info.image_height = JDIMENSION(bitmap.Height());
    c.info.input_components = 3;
    c.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c.info);
    jpeg_set_quality(&c.info, quality, TRUE);
    jpeg_start_compress(&c.info, TRUE);
    while (c.info.next_scanline < c.info.image_height) {
        const int y = int(c.info.next_scanline);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const Rgb colour = bitmap.PixelRgb(x, y);
            c.row[size_t(x) * 3] = JSAMPLE(RedOf(colour));
            c.row[size_t(x) * 3 + 1] = JSAMPLE(GreenOf(colour));
            c.row[size_t(x) * 3 + 2] = JSAMPLE(BlueOf(colour));
        }
        JSAMPROW rows[1] = {c.row.data()};
        jpeg_write_scanlines(&c.info, rows, 1);
    }
    jpeg_finish_compress(&c.info);
    return true;
}

}  // namespace

bool WriteJpg(const CBmpDib& bitmap, const std::string& path, int quality, Messages& messages,
              SafeFile::Durability durability) {
    if (!bitmap.Bits() || bitmap.Width() < 1 || bitmap.Height() < 1) {
        messages.Error(Format("Cannot save %s: the picture is empty", path.c_str()));
        return false;
    }
    if (quality < 1 || quality > 100) {
        messages.Error(Format("JPG quality must be 1 to 100, not %d", quality));
        return false;
    }
    auto compressor = std::make_unique<Compressor>();
    compressor->row.resize(size_t(bitmap.Width()) * 3);
    SafeFile file(path, durability);
    compressor->destination.file = &file;
    if (!file.IsOpen() || !Compress(*compressor, bitmap, quality) || !file.Commit()) {
        messages.Error(Format("Error creating %s", path.c_str()));
        return false;
    }
    return true;
}

}  // namespace pixmond
