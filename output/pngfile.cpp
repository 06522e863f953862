#include "pngfile.h"

#include <objidl.h>
#include <wincodec.h>

#include "../app/scoped.h"
#include "bmpfile.h"
#include "filewrite.h"
#include "rules.h"

namespace {

// One COM interface pointer, released with its scope.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (p) p->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T** Out() { return &p; }
    T* operator->() const { return p; }
    T* get() const { return p; }

private:
    T* p = nullptr;
};

// COM on this thread for one use: the encoder is loaded only when an image is saved or copied.
class ComScope {
public:
    ComScope() : result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    // Usable also when COM was already set up on this thread in another way.
    bool Ready() const { return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE; }

private:
    HRESULT result;
};

// The DIB's pixels as top-down 24-bit rows; null when its layout is not one we write.
HGLOBAL PixelsOf(const BITMAPINFOHEADER* header, int* width, int* height) {
    if (header->biSize != sizeof(BITMAPINFOHEADER) || header->biCompression != BI_RGB || header->biWidth <= 0 ||
        header->biHeight <= 0)
        return nullptr;
    *width = header->biWidth;
    *height = header->biHeight;
    ScopedGlobal rows(GlobalAlloc(GMEM_FIXED, static_cast<SIZE_T>(rules::Bgr24RowBytes(*width)) * *height));
    if (!rows) return nullptr;
    const BYTE* table = reinterpret_cast<const BYTE*>(header) + header->biSize;
    const BYTE* bits = table + DibColourTableSize(header);
    if (!rules::DibToBgr24(header->biBitCount, *width, *height, table, DibColourCount(header), bits,
                           static_cast<BYTE*>(rows.get())))
        return nullptr;
    return rows.release();
}

bool Encode(IWICImagingFactory* factory, IStream* stream, const BYTE* pixels, int width, int height) {
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> options;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) ||
        FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.Out(), options.Out())) || FAILED(frame->Initialize(options.get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    // The encoder may offer another format instead; then the rows would be read wrongly.
    if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) return false;
    const UINT stride = rules::Bgr24RowBytes(width);
    return SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
                                        const_cast<BYTE*>(pixels))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

HGLOBAL EncodePng(HGLOBAL dib, SIZE_T* encodedSize) {
    int width = 0, height = 0;
    ScopedGlobal pixels;
    {
        ScopedGlobalLock<BITMAPINFOHEADER> header(dib);
        if (!header.get()) return nullptr;
        pixels.reset(PixelsOf(header.get(), &width, &height));
    }
    if (!pixels) return nullptr;
    ComScope com;
    if (!com.Ready()) return nullptr;
    ComRef<IWICImagingFactory> factory;
    ComRef<IStream> stream;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.Out()))) ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out())) ||
        !Encode(factory.get(), stream.get(), static_cast<const BYTE*>(pixels.get()), width, height))
        return nullptr;
    // The stream's block is larger than what was written; the clipboard wants the exact bytes.
    STATSTG stat = {};
    HGLOBAL written = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream.get(), &written)))
        return nullptr;
    const SIZE_T size = static_cast<SIZE_T>(stat.cbSize.QuadPart);
    ScopedGlobal result(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!result) return nullptr;
    {
        ScopedGlobalLock<BYTE> from(written), to(result);
        if (!from.get() || !to.get()) return nullptr;
        CopyMemory(to.get(), from.get(), size);
    }
    if (encodedSize) *encodedSize = size;
    return result.release();
}

bool WritePngFile(const char* path, HGLOBAL dib) {
    SIZE_T size = 0;
    ScopedGlobal png(EncodePng(dib, &size));
    if (!png) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    bool written = false;
    DWORD error = ERROR_NOT_ENOUGH_MEMORY;
    {
        ScopedGlobalLock<BYTE> bytes(png);
        if (bytes.get()) {
            const FileChunk chunk = {bytes.get(), static_cast<DWORD>(size)};
            written = ReplaceFileWith(path, &chunk, 1);
            error = GetLastError();
        }
    }
    SetLastError(error);
    return written;
}
