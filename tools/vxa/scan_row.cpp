#include "scan_row.h"

#include <filesystem>
#include <memory>
#include <set>

#include "core/model/frame_budget.h"
#include "core/model/movie_model.h"
#include "core/raster/frame_composer.h"
#include "core/tables/font_map.h"
#include "findings.h"
#include "frame_painter.h"
#include "local_playback.h"
#include "movie_file.h"
#include "png_picture.h"
#include "sound_folder.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

void countTables(const MovieModel& model, ScanRow& row) {
  std::set<int> sounds;
  std::set<std::string> faces;
  for (int n = 1; n <= model.frameCount(); ++n) {
    const FrameRecord* frame = model.frame(static_cast<int16_t>(n));
    if (!frame) continue;
    ++row.framesPresent;
    if (frame->soundNumber) sounds.insert(frame->soundNumber);
  }
  for (int id = 1; id <= model.groupCount(); ++id) {
    const std::shared_ptr<const GroupRecord> group = model.group(static_cast<int16_t>(id));
    if (!group) continue;
    ++row.groupsPresent;
    for (const ObjectRecord& object : group->objects) {
      if (object.kind == ObjectKind::Text) faces.insert(mapFontName(object.fontName.c_str(), object.size).faceName);
    }
  }
  row.sounds.assign(sounds.begin(), sounds.end());
  row.faces.assign(faces.begin(), faces.end());
}

// Each scanning thread draws with fonts of its own: a font library is not
// shared between threads.
raster::FontLibrary& threadFonts() {
  thread_local std::unique_ptr<raster::FontLibrary> fonts;
  if (!fonts) {
    fonts = std::make_unique<raster::FontLibrary>();
    addSystemFonts(*fonts);
  }
  return *fonts;
}

void writePoster(const MovieModel& model, const std::string& folder, ScanRow& row) {
  const Header& header = model.header();
  if (header.width <= 0 || header.height <= 0 || vxa::pictureTooLarge(header.width, header.height)) return;
  if (!model.frame(1)) return;
  raster::FrameComposer composer(header.width, header.height, model.groupCount());
  composer.compose(model, 1, threadFonts());
  const std::string file = (std::filesystem::path(folder) / posterName(row.path)).string();
  writePngPicture(file, composer.picture());
  row.poster = file;
}

}  // namespace

std::string posterName(const std::string& moviePath) {
  std::string name = std::filesystem::path(moviePath).lexically_normal().relative_path().string();
  for (char& c : name) {
    if (c == '/' || c == '\\') c = '_';
  }
  return name + ".png";
}

ScanRow scanFile(const std::string& path, const std::string& posterFolder) {
  ScanRow row;
  row.path = path;
  try {
    const MovieFile file(path);
    row.bytes = file.bytes().size();
    const Header& h = file.header();
    row.layout = h.layout == Layout::Wide ? "wide" : "narrow";
    row.width = h.width;
    row.height = h.height;
    row.rate = h.frameRate;
    row.framesDeclared = h.frameCount;
    row.groupsDeclared = h.groupCount;

    MovieModel model;
    model.append(file.bytes().data(), file.bytes().size());
    row.loops = model.loops();
    row.waitsForClick = model.waitsForClick();
    countTables(model, row);

    const OnePass pass = playOnePass(file.bytes(), model.frameCount(), h.frameRate);
    row.onePassMs = pass.ms;
    row.playsToEnd = pass.ms.has_value();

    const std::unique_ptr<SoundFolder> sounds = soundFolderFor(std::nullopt, path);
    const std::vector<Finding> findings = findProblems(file.bytes(), sounds.get());
    row.findings = findings.size();
    if (!findings.empty()) row.firstFinding = findings.front().line();
    for (int number : row.sounds) {
      if (!sounds || !sounds->fileOf(static_cast<int16_t>(number))) row.soundsMissing.push_back(number);
    }
    if (!posterFolder.empty()) writePoster(model, posterFolder, row);
  } catch (const Failure& failure) {
    row.error = failure.message;
  } catch (const std::exception& e) {
    row.error = e.what();
  }
  if (!row.error.empty() && row.bytes == 0) {
    std::error_code ignored;
    const auto size = std::filesystem::file_size(path, ignored);
    if (!ignored) row.bytes = size;
  }
  return row;
}

}  // namespace vxa::tool
