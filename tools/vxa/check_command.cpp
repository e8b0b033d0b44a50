// vxa check MOVIE.vxa [--sounds DIR]: one line for every place where the
// plug-in would not show the movie as it was authored. Exit status 0 when
// there is none.
#include <iostream>
#include <memory>

#include "arguments.h"
#include "commands.h"
#include "findings.h"
#include "movie_file.h"
#include "sound_folder.h"

namespace vxa::tool {

int checkCommand(const Args& args) {
  const Arguments arguments("check", args, {{"--sounds"}, {}, {}});
  const MovieFile movie(arguments.input());
  std::unique_ptr<SoundFolder> sounds;
  if (const std::optional<std::string> folder = arguments.value("--sounds")) {
    sounds = std::make_unique<SoundFolder>(*folder);
  }
  const std::vector<Finding> findings = findProblems(movie.bytes(), sounds.get());
  for (const Finding& finding : findings) std::cout << finding.line() << "\n";
  return findings.empty() ? 0 : 1;
}

}  // namespace vxa::tool
