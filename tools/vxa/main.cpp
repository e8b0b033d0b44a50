// vxa: the .vxa format's working tool.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "help_topics.h"
#include "tool_failure.h"

namespace {

using namespace vxa::tool;

struct Command {
  const char* name;
  int (*run)(const Args&);
  const char* usage;
  const char* summary;
};

const Command kCommands[] = {
    {"build", buildCommand, "vxa build SOURCE.json -o MOVIE.vxa",
     "the movie stream that a JSON source describes"},
    {"dump", dumpCommand, "vxa dump MOVIE.vxa [-o SOURCE.json]",
     "a stream as a JSON source (to standard output unless -o is given); damaged\n"
     "parts as raw bytes, with what check finds on standard error; building the\n"
     "dump gives back the same bytes"},
    {"check", checkCommand, "vxa check MOVIE.vxa [--sounds DIR]",
     "one line for each place where the plug-in would not show the movie as it\n"
     "was authored, and what it does there; exit status 0 when there is none"},
    {"info", infoCommand, "vxa info MOVIE.vxa",
     "layout, size, rate, flags, counts, playing time, objects per frame, sounds"},
    {"render", renderCommand, "vxa render MOVIE.vxa --frame N -o FRAME.png\n"
     "vxa render MOVIE.vxa --frames DIR",
     "the picture the plug-in's window shows once playback reaches frame N, or\n"
     "every frame as DIR/NNNNN.png; a frame playback never reaches is an error\n"
     "that says why"},
    {"timeline", timelineCommand,
     "vxa timeline MOVIE.vxa [--chunk MS:BYTES]... [--end MS] [--click MS]...\n"
     "             [--hold MS] [--sounds DIR] [--for MS]",
     "which frame the plug-in shows when (frame MS N), what its sound cue does\n"
     "(cue MS start|again|stop N), and why playback ends; the stream arrives in\n"
     "the chunks given (default: whole, at 0, and ends then), --hold clicks that\n"
     "long after a hold for a click began; --for stops after MS (default 60000)"},
    {"export", exportCommand,
     "vxa export MOVIE.vxa -o OUT.gif|OUT.png|OUT.webm|OUT.mp4 [--sounds DIR]\n"
     "           [--loops K] [--hold MS]",
     "the movie as an animated GIF or PNG, or a video with its sounds (through\n"
     "ffmpeg), each frame held as long as the plug-in shows it; a looping movie\n"
     "gives its first pass and K more loops (default 3); a hold for a click lasts\n"
     "MS (default 3000); sounds from DIR, else VXA_WAV beside the movie"},
    {"play", playCommand, "vxa play MOVIE.vxa [--sounds DIR] [--scale N] [--for MS] [--snapshot MS:FILE.png]...",
     "the movie in a window, played as the plug-in plays it, with its sounds\n"
     "(from DIR, else VXA_WAV beside the movie); a click pauses, resumes or\n"
     "ends a hold for a click, ESC stops, space pauses, the right arrow shows\n"
     "the next frame while paused, F or a double click toggles full screen, a\n"
     ".vxa dropped onto the window plays instead; --scale N enlarges by whole\n"
     "pixels; --for MS quits after MS; --snapshot saves the window at MS"},
    {"scan", scanCommand,
     "vxa scan PATH... [--jsonl] [--posters DIR] [--jobs N] [--shard K/N]\n"
     "vxa scan --list FILE [--shard K/N] ...",
     "a table of every .vxa under the folders and files given (or the paths of\n"
     "a list), one row per file: size, layout, rate, flags, frames and groups\n"
     "declared and present, one pass's time, what check finds, sounds used and\n"
     "missing, faces; CSV, or JSON lines with --jsonl; --posters writes each\n"
     "first frame as DIR/PATH.png; --shard takes every N-th file (or line of the\n"
     "list) from the K-th; a bad file is a row that says so"},
};

// Continuation lines of a usage or a summary, set under its first line.
std::string indented(std::string text, size_t spaces) {
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
    text.insert(at + 1, spaces, ' ');
  }
  return text;
}

void printHelp() {
  std::cout << "usage:";
  for (const Command& command : kCommands) {
    std::cout << (&command == kCommands ? " " : "       ") << indented(command.usage, 7) << "\n";
  }
  std::cout << "       vxa help [COMMAND | TOPIC]\n\n";
  for (const Command& command : kCommands) {
    std::cout << command.name << std::string(10 - std::string(command.name).size(), ' ')
              << indented(command.summary, 10) << "\n";
  }
  std::cout << "\nTopics of vxa help, for writing a source:\n";
  for (const HelpTopic& topic : helpTopics()) {
    std::cout << "  " << topic.name << std::string(10 - std::string(topic.name).size(), ' ') << topic.summary
              << "\n";
  }
  std::cout << "\nErrors name the JSON path (e.g. blocks[3].groups[0].objects[2].left) or the\n"
               "block and byte offset, and leave no output file behind. The source form is\n"
               "described in docs/vxa-source.md, making movies in docs/authoring.md.\n";
}

// vxa help NAME: a command's usage and what it does, or a topic.
int help(const std::string& name) {
  for (const Command& command : kCommands) {
    if (name == command.name) {
      std::cout << "usage: " << indented(command.usage, 7) << "\n\n" << command.summary << "\n";
      return 0;
    }
  }
  if (const std::optional<std::string> text = helpTopicText(name)) {
    std::cout << *text;
    return 0;
  }
  usageError("no help on \"" + name + "\"");
}

int run(const Args& args) {
  if (args.empty()) usageError("no command given");
  const std::string& name = args[0];
  if (name == "--help" || name == "-h" || name == "help") {
    if (args.size() > 2) usageError("help takes one command or topic");
    if (args.size() == 2) return help(args[1]);
    printHelp();
    return 0;
  }
  for (const Command& command : kCommands) {
    if (name != command.name) continue;
    // vxa COMMAND --help: the same as vxa help COMMAND.
    if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h")) return help(name);
    return command.run(Args(args.begin() + 1, args.end()));
  }
  usageError("unknown command \"" + name + "\"");
}

// Keeps every message on one line, whatever a library put into it.
std::string oneLine(std::string message) {
  for (char& c : message) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return message;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(Args(argv + 1, argv + argc));
  } catch (const Failure& failure) {
    std::cerr << "vxa: " << oneLine(failure.message) << "\n";
    return failure.status;
  } catch (const std::exception& e) {
    std::cerr << "vxa: " << oneLine(e.what()) << "\n";
    return 1;
  }
}
