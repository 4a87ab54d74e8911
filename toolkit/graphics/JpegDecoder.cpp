#include "toolkit/graphics/JpegDecoder.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Exception.h"

#include <windows.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {
// libjpeg reports fatal errors through error_exit, which must not return. It jumps back to
// the decoding step that is running; those steps hold no C++ objects, so nothing is skipped
// that needs destroying.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void OnMessage(j_common_ptr info, int level)
{
    // Data that ends early is padded with grey by the library; such a picture counts as
    // corrupt. Other warnings and trace messages are dropped (nothing is logged).
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        OnError(info);
}

class Session {
public:
    Session()
    {
        info.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = OnError;
        errors.pub.emit_message = OnMessage;
        errors.message[0] = '\0';
    }
    ~Session() { jpeg_destroy_decompress(&info); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    jpeg_decompress_struct info{};
    ErrorManager errors{};
};

bool IsCmyk(const jpeg_decompress_struct& info)
{
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

bool Start(Session& session, TByteSpan data)
{
    if (setjmp(session.errors.jump))
        return false;
    jpeg_create_decompress(&session.info);
    jpeg_mem_src(&session.info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&session.info, TRUE);
    // Rows come out in the order of a Windows DIB (blue first); CMYK is converted below.
    session.info.out_color_space = IsCmyk(session.info) ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&session.info);
    return true;
}

// CMYK as Adobe writes it (stored inverted) to blue, green, red.
void CmykToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, unsigned width)
{
    for (unsigned x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned k = cmyk[3];
        bgr[0] = std::uint8_t(cmyk[2] * k / 255);
        bgr[1] = std::uint8_t(cmyk[1] * k / 255);
        bgr[2] = std::uint8_t(cmyk[0] * k / 255);
    }
}

bool ReadRows(Session& session, std::uint8_t* pixels, std::size_t stride, std::uint8_t* cmykRow)
{
    if (setjmp(session.errors.jump))
        return false;
    jpeg_decompress_struct& info = session.info;
    while (info.output_scanline < info.output_height) {
        std::uint8_t* target = pixels + info.output_scanline * stride;
        JSAMPROW row = cmykRow ? cmykRow : target;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            break;
        if (cmykRow)
            CmykToBgr(cmykRow, target, info.output_width);
    }
    jpeg_finish_decompress(&info);
    return true;
}

[[noreturn]] void Fail(const Session& session)
{
    throw EInvalidGraphic(std::string("JPEG image is not valid: ") + session.errors.message);
}
} // namespace

std::unique_ptr<TBitmap> JpegDecoder::Decode(TByteSpan data)
{
    Session session;
    if (!Start(session, data))
        Fail(session);
    const jpeg_decompress_struct& info = session.info;
    auto bitmap = std::make_unique<TBitmap>(int(info.output_width), int(info.output_height));
    std::vector<std::uint8_t> cmykRow(IsCmyk(info) ? std::size_t(info.output_width) * 4 : 0);
    if (!ReadRows(session, bitmap->ScanLine(0), std::size_t(bitmap->ScanLineStride()),
                  cmykRow.empty() ? nullptr : cmykRow.data()))
        Fail(session);
    return bitmap;
}
