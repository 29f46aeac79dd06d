#include "adapters/win32/wic_pictures.h"

#include <wincodec.h>

#include "platform/text.h"

namespace quillon::adapters::win32 {
namespace {

// Releases a COM interface when it goes out of scope.
template <class T>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (p_ != nullptr) p_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }

 private:
  T* p_ = nullptr;
};

// COM for this thread, for as long as one picture is read.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialized_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialized_;
};

}  // namespace

std::optional<ColourPicture> LoadColourPicture(const std::filesystem::path& file) {
  const ComScope com;
  Com<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(factory.Out())))) {
    return std::nullopt;
  }
  Com<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromFilename(file.wstring().c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.Out()))) {
    return std::nullopt;
  }
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICFormatConverter> converter;
  if (FAILED(decoder->GetFrame(0, frame.Out())) ||
      FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }
  UINT width = 0;
  UINT height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || !platform::WithinPictureBound(width, height)) {
    return std::nullopt;
  }
  ColourPicture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.bgra.resize(static_cast<std::size_t>(width) * height * 4);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.bgra.size()),
                                   picture.bgra.data()))) {
    return std::nullopt;
  }
  return picture;
}

HBITMAP MakeBitmap(const ColourPicture& picture) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  // Composed over white, as the picture area's background is.
  auto* target = static_cast<std::uint8_t*>(bits);
  for (std::size_t i = 0; i < picture.bgra.size(); i += 4) {
    const int alpha = picture.bgra[i + 3];
    for (int c = 0; c < 3; ++c) {
      target[i + c] =
          static_cast<std::uint8_t>((picture.bgra[i + c] * alpha + 255 * (255 - alpha)) / 255);
    }
    target[i + 3] = 255;
  }
  return bitmap;
}

std::optional<platform::ColourPicture> WicPictureDecoder::DecodeColour(
    const std::string& file) const {
  const std::optional<ColourPicture> colour =
      LoadColourPicture(std::filesystem::path(platform::Utf8ToUtf16(file)));
  if (!colour) return std::nullopt;
  platform::ColourPicture picture{colour->width, colour->height, {}};
  picture.rgb.reserve(colour->bgra.size() / 4 * 3);
  for (std::size_t i = 0; i < colour->bgra.size(); i += 4) {
    for (const std::size_t c : {2, 1, 0}) {
      picture.rgb.push_back(platform::OverWhite(colour->bgra[i + c], colour->bgra[i + 3]));
    }
  }
  return picture;
}

}  // namespace quillon::adapters::win32
