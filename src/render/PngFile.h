#pragma once

#include <filesystem>

#include <QImage>

namespace stonereach {

// Writes the image as a PNG file. The file is written beside the target and
// renamed into place, so a failed write never leaves a half file behind.
// Throws IoError when the image cannot be encoded or the file written.
void writePngFile(const QImage& image, const std::filesystem::path& path);

} // namespace stonereach
