#include "common/run.h"

#include "common/command_line.h"
#include "common/image_loader.h"
#include "common/platform.h"
#include "common/text_format.h"

namespace common {

std::string SetNameFor(std::string_view input_path) {
  std::string_view name =
      input_path.size() < 4 ? std::string_view()
                            : input_path.substr(0, input_path.size() - 4);
  size_t separator = name.find_last_of("\\/");
  if (separator != std::string_view::npos) name.remove_prefix(separator + 1);
  return std::string(name);
}

namespace {

// A failure that is not the run's first keeps the first one's status.
void Note(Status* worst, Status status) {
  if (*worst == Status::kOk && status != Status::kOk) *worst = status;
}

}  // namespace

int RunProgram(const Program& program,
               const std::vector<std::string>& parameters, Console& console,
               DropFront drop_front) {
  RunContext context;
  if (parameters.empty()) {
    if (drop_front == nullptr) {
      console.Line(program.usage);
      return ExitStatusFor(Status::kWrongParameter);
    }
    Status dropped = drop_front(program.dropVariant, console,
                                &context.inputPath, &context.options);
    if (dropped != Status::kOk) return ExitStatusFor(dropped);
  } else {
    context.inputPath = parameters[0];
    RunOptions options;
    for (size_t i = 1; i < parameters.size(); ++i) {
      if (ParseFlag(parameters[i], &options) != Status::kOk) {
        console.Line("Wrong parameter: " + parameters[i]);
        console.WaitForEnter();
        return ExitStatusFor(Status::kWrongParameter);
      }
    }
    context.options = options;
  }

  Status worst = Status::kOk;
  context.setName = SetNameFor(context.inputPath);
  context.outputPath = context.inputPath + program.outputExtension;
  console.Line("Loading file " + context.inputPath);

  Status loaded = LoadImage(context.inputPath, &context.image);
  if (loaded == Status::kLoadFailed) {
    console.Line("Image could not be loaded: " + context.inputPath);
  } else if (loaded == Status::kDamagedData) {
    console.Line("Image data is damaged, pixels after the damage read black: " +
                 context.inputPath);
  }
  Note(&worst, loaded);
  context.image.BeginPixelReading();

  OutputFile output;
  RegisterOutputForSignals(&output);
  if (output.Create(context.outputPath) != Status::kOk) {
    console.Line("Output file could not be created: " + context.outputPath);
    Note(&worst, Status::kCreateFailed);
  }
  context.output = &output;
  context.console = &console;
  output.WriteLine(program.headerPrefix + context.setName);
  std::string date = DateTimeText("%yyyy/%mm/%dd", CurrentMoment());
  std::string time = DateTimeText("%hh:%ii:%ss", CurrentMoment());
  output.WriteLine(";auto created " + date + " " + time);

  Status converted = program.convert(context);
  if (output.Close() == Status::kWriteFailed) {
    console.Line("Output file could not be written completely: " +
                 context.outputPath);
    Note(&worst, Status::kWriteFailed);
  }
  RegisterOutputForSignals(nullptr);
  // A converter's error report comes first among the run's failures.
  if (converted != Status::kOk) worst = converted;
  context.image.EndPixelReading();
  return ExitStatusFor(worst);
}

}  // namespace common
