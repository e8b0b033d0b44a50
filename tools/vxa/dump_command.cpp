// vxa dump MOVIE.vxa [-o SOURCE.json]: a stream as its JSON source, damage
// included (as raw bytes), so that building the dump gives the same bytes.
#include <iostream>

#include "arguments.h"
#include "commands.h"
#include "files.h"
#include "findings.h"
#include "json_printer.h"
#include "movie_file.h"
#include "source_writer.h"

namespace vxa::tool {

int dumpCommand(const Args& args) {
  const Arguments arguments("dump", args, {{"-o"}, {}, {}});
  const MovieFile movie(arguments.input());
  const std::string text = printJson(writeSource(movie.pieces()));
  if (const std::optional<std::string> output = arguments.value("-o")) {
    writeFileWhole(*output, text);
  } else {
    std::cout << text;
  }
  // What a check would say, for the person reading the dump.
  for (const Finding& finding : findProblems(movie.bytes(), nullptr)) {
    std::cerr << "vxa: " << movie.path() << ": " << finding.line() << "\n";
  }
  return 0;
}

}  // namespace vxa::tool
