#pragma once
// Naming rules of the save dispatcher (CvxDIB::LoadFromFile and CvxDIB::SaveToFile).

#include <optional>
#include <string>

// The name a save falls back to when the extension names no other writer: the extension
// after the last dot of the file name becomes ".bmp" (a name without a folder keeps it and
// gains ".bmp"). No name when nothing stands between the folder and the dot.
std::optional<std::string> BmpSaveName(const std::string& path);

// The file a save under this name writes: the name itself for the JPEG, GIF and TIFF
// writers, otherwise its BMP name. No name when the BMP rule refuses it.
std::optional<std::string> SavedFileName(const std::string& path);
