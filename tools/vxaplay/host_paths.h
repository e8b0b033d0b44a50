#pragma once
// Paths as vxaplay takes them: Windows paths, or, under Wine, Unix paths,
// which Wine's drive Z: maps.
#include <string>

std::string windowsPath(const std::string& path);
// The folder this program's file is in, without a trailing backslash.
std::string programFolder();
// The folder above `folder`.
std::string parentFolder(const std::string& folder);
bool makeFolders(const std::string& path);
