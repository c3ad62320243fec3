// The scripted host's word splitting: quoted words, escapes, and unclosed quotes left to the
// commands that take the raw line.
#include "CommandTable.h"

namespace velmora::app {

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '\\' && i + 1 < line.size() &&
            (line[i + 1] == '"' || line[i + 1] == '\\')) {
            word += line[++i];
            continue;
        }
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        word += c;
        inWord = true;
    }
    // An unclosed quote is left to the raw-text commands (a statement may hold a lone quote).
    if (inWord) words.push_back(word);
    return words;
}

} // namespace velmora::app
