#include "shell/platform_choice.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <cstdio>
#include <string_view>

namespace quendal {
namespace {

std::optional<std::string> variable(const char* name) {
    if (!qEnvironmentVariableIsSet(name)) {
        return std::nullopt;
    }
    return qEnvironmentVariable(name).toStdString();
}

bool givenAndNotEmpty(const std::optional<std::string>& value) {
    return value.has_value() && !value->empty();
}

// How many arguments from this one Qt's own option "-platform NAME" takes (also spelt with
// two dashes, or "-platform=NAME"): 2, 1 or 0.
std::size_t platformOption(std::string_view argument, bool nameFollows) {
    if (argument.substr(0, 2) == "--") {
        argument.remove_prefix(1);
    }
    if (argument == "-platform") {
        return nameFollows ? 2 : 1;
    }
    return argument.substr(0, 10) == "-platform=" ? 1 : 0;
}

bool hasPlatformArgument(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (platformOption(argument, false) != 0) {
            return true;
        }
    }
    return false;
}

std::string lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

} // namespace

PlatformChoice decidePlatform(const PlatformEnvironment& environment) {
    PlatformChoice choice;
    if (givenAndNotEmpty(environment.qtPlatform) || hasPlatformArgument(environment.arguments)) {
        return choice;
    }
    const std::string asked = lowered(environment.quendalPlatform.value_or(std::string()));
    if (asked == "wayland") {
        choice.platform = "wayland";
        return choice;
    }
    if (asked == "x11" || asked == "xcb") {
        choice.platform = "xcb";
        return choice;
    }
    if (!asked.empty() && asked != "auto") {
        choice.ignoredValue = environment.quendalPlatform.value_or(std::string());
    }
    if (givenAndNotEmpty(environment.x11Display)) {
        choice.platform = "xcb";
    }
    return choice;
}

std::vector<std::string> programArguments(int argc, char* argv[]) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::size_t taken = platformOption(argv[i], i + 1 < argc);
        if (taken == 0) {
            arguments.emplace_back(argv[i]);
        }
        i += taken > 0 ? static_cast<int>(taken) - 1 : 0;
    }
    return arguments;
}

void choosePlatform(int argc, char* argv[]) {
    PlatformEnvironment environment{
        variable("QT_QPA_PLATFORM"), variable("QUENDAL_PLATFORM"), variable("DISPLAY"), {}};
    for (int i = 1; i < argc; ++i) {
        environment.arguments.emplace_back(argv[i]);
    }
    const PlatformChoice choice = decidePlatform(environment);
    if (!choice.ignoredValue.empty()) {
        std::fprintf(stderr,
                     "quendal: QUENDAL_PLATFORM=%s is not known (wayland, x11 or auto); "
                     "choosing as with auto\n",
                     choice.ignoredValue.c_str());
    }
    if (!choice.platform.empty()) {
        qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(choice.platform));
    }
}

} // namespace quendal
