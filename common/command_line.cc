#include "common/command_line.h"

#include "common/text_format.h"

namespace common {

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> parameters;
  size_t i = 0;
  while (true) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i == line.size()) break;
    if (line[i] == '"') {
      size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) {
        parameters.emplace_back(line.substr(i + 1));
        i = line.size();
      } else {
        parameters.emplace_back(line.substr(i + 1, close - i - 1));
        i = close + 1;
      }
    } else {
      size_t end = line.find(' ', i);
      if (end == std::string_view::npos) end = line.size();
      parameters.emplace_back(line.substr(i, end - i));
      i = end;
    }
  }
  if (!parameters.empty()) parameters.erase(parameters.begin());
  return parameters;
}

std::vector<std::string> ArgvParameters(int argc, char** argv) {
  std::vector<std::string> parameters;
  for (int i = 1; i < argc; ++i) parameters.emplace_back(argv[i]);
  return parameters;
}

Status ParseFlag(std::string_view parameter, RunOptions* options) {
  const struct {
    std::string_view flag;
    bool RunOptions::*field;
  } kFlags[] = {
      {"/HIGH", &RunOptions::high},         {"/LENGTH", &RunOptions::length},
      {"/CUTUP", &RunOptions::cutUp},       {"/CUTRIGHT", &RunOptions::cutRight},
      {"/ANDOR", &RunOptions::andOr},
  };
  std::string upper = UpperCased(parameter);
  for (const auto& entry : kFlags) {
    if (upper == entry.flag) {
      options->*entry.field = true;
      return Status::kOk;
    }
  }
  return Status::kWrongParameter;
}

}  // namespace common
