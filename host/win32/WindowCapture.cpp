#include "host/win32/WindowCapture.h"

#include <wincodec.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/WideText.h"

namespace brontelx::winhost {
namespace {

// Holds one reference to a COM object.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (object_) object_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  Interface* operator->() const { return object_; }
  Interface* get() const { return object_; }
  Interface** out() { return &object_; }
  void** outVoid() { return reinterpret_cast<void**>(&object_); }

 private:
  Interface* object_ = nullptr;
};

void Check(HRESULT result, const char* step) {
  if (FAILED(result)) {
    throw std::runtime_error(std::string("screenshot: ") + step + ": " +
                             platform::win32::SystemMessage(static_cast<unsigned long>(result)));
  }
}

// COM for the calling thread while the object lives.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {
    // Already initialised by the thread in another mode: COM is usable all the same.
    if (result_ != RPC_E_CHANGED_MODE) Check(result_, "CoInitializeEx");
  }
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<BYTE> bgr;  // rows top to bottom, 3 bytes a pixel, each row padded to 4 bytes
  UINT stride = 0;
};

Pixels CopyWindowPixels(HWND window) {
  RECT frame{};
  if (!GetWindowRect(window, &frame)) throw std::runtime_error("screenshot: the window is gone");
  // Everything painted now, frame and children included, so that the copy shows the window whole.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pixels pixels;
  pixels.width = frame.right - frame.left;
  pixels.height = frame.bottom - frame.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC windowDc = GetWindowDC(window);
  const HDC dc = CreateCompatibleDC(windowDc);
  const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  BOOL copied = FALSE;
  if (windowDc && dc && bitmap) {
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    copied = BitBlt(dc, 0, 0, pixels.width, pixels.height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    pixels.stride = static_cast<UINT>((pixels.width * 3 + 3) & ~3);
    const auto* first = static_cast<const BYTE*>(bits);
    pixels.bgr.assign(first, first + static_cast<std::size_t>(pixels.stride) * static_cast<std::size_t>(pixels.height));
    SelectObject(dc, previous);
  }
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  if (windowDc) ReleaseDC(window, windowDc);
  if (!copied) throw std::runtime_error("screenshot: the window cannot be copied");
  return pixels;
}

void WritePng(const Pixels& pixels, const std::wstring& file) {
  const ComScope com;
  ComRef<IWICImagingFactory> factory;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         factory.outVoid()),
        "imaging factory");
  ComRef<IWICStream> stream;
  Check(factory->CreateStream(stream.out()), "stream");
  Check(stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE), "open file");
  ComRef<IWICBitmapEncoder> encoder;
  Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out()), "PNG encoder");
  Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "encoder");
  ComRef<IWICBitmapFrameEncode> frame;
  Check(encoder->CreateNewFrame(frame.out(), nullptr), "frame");
  Check(frame->Initialize(nullptr), "frame");
  Check(frame->SetSize(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height)), "size");
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  Check(frame->SetPixelFormat(&format), "pixel format");
  if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) throw std::runtime_error("screenshot: no 24-bit PNG");
  Check(frame->WritePixels(static_cast<UINT>(pixels.height), pixels.stride, static_cast<UINT>(pixels.bgr.size()),
                           const_cast<BYTE*>(pixels.bgr.data())),
        "pixels");
  Check(frame->Commit(), "frame");
  Check(encoder->Commit(), "file");
}

}  // namespace

void SaveWindowPng(HWND window, const std::wstring& file) { WritePng(CopyWindowPixels(window), file); }

}  // namespace brontelx::winhost
