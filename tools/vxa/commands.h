#pragma once
// The vxa commands, one file each. Each takes the arguments after its name
// and returns the exit status; it throws Failure to give up.
#include <string>
#include <vector>

namespace vxa::tool {

using Args = std::vector<std::string>;

int buildCommand(const Args& args);
int dumpCommand(const Args& args);
int checkCommand(const Args& args);
int infoCommand(const Args& args);
int timelineCommand(const Args& args);
int renderCommand(const Args& args);
int exportCommand(const Args& args);
int scanCommand(const Args& args);
int playCommand(const Args& args);

}  // namespace vxa::tool
