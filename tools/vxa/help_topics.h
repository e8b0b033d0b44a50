#pragma once
// `vxa help TOPIC`: short references for a person writing a source, made
// from the same tables and rules that players use (the colour table, the
// pattern tiles, the font map, the playback timeline), so they cannot say
// something a player does not do. docs/authoring.md explains them at length.
#include <optional>
#include <string>
#include <vector>

namespace vxa::tool {

struct HelpTopic {
    const char* name;
    const char* summary;
};

// The topics, in the order `vxa help` lists them.
const std::vector<HelpTopic>& helpTopics();

// The text of a topic; nullopt for a name that is none.
std::optional<std::string> helpTopicText(const std::string& name);

}  // namespace vxa::tool
