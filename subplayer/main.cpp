// subplayer.exe: runs a general purpose plug-in in the substitute player from a scenario file.
// Exit codes: 0 every action succeeded, 1 an action failed (see the log), 2 a wrong command line
// or scenario line, 3 the plug-in or the host could not be set up, 70 the player or the plug-in
// crashed (one line on standard error names the exception and the module; tests/harness).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "subplayer/FileBytes.h"
#include "subplayer/Scenario.h"
#include "subplayer/ScenarioRunner.h"
#include "subplayer/SubstitutePlayer.h"
#include "subplayer/WinHelpers.h"

namespace {

const char kUsage[] =
    "usage: subplayer.exe --plugin <dll> --scenario <file> [--out <folder>] [--fresh]\n"
    "                     [--beside <file>]... [--timeout <seconds>]\n"
    "  --out      where captures and subplayer.log go (default: the current folder)\n"
    "  --fresh    copy the plug-in into a new folder under --out first and run the copy there\n"
    "  --beside   with --fresh: copy this file beside the plug-in's copy as well (e.g. its INI)\n"
    "  --timeout  give up on the scenario after this many seconds (default 120)\n";

struct Options {
    std::string plugin, scenario, out, timeout = "120";
    std::vector<std::string> beside;
    int fresh = 0;
};

int usageError(const std::string& message) {
    std::fprintf(stderr, "subplayer: %s\n%s", message.c_str(), kUsage);
    return 2;
}

int parseOptions(int argc, char** argv, Options& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string* value = arg == "--plugin"     ? &o.plugin
                             : arg == "--scenario" ? &o.scenario
                             : arg == "--out"      ? &o.out
                             : arg == "--timeout"  ? &o.timeout
                                                   : nullptr;
        if (arg == "--fresh") {
            o.fresh = 1;
        } else if (arg == "--beside" && i + 1 < argc) {
            o.beside.push_back(argv[++i]);
        } else if (value && i + 1 < argc) {
            *value = argv[++i];
        } else {
            error = value || arg == "--beside" ? "missing value after " + arg : "unknown argument " + arg;
            return 0;
        }
    }
    if (o.plugin.empty() || o.scenario.empty()) {
        error = "--plugin and --scenario are required";
        return 0;
    }
    if (atoi(o.timeout.c_str()) <= 0) {
        error = "--timeout takes a positive number of seconds";
        return 0;
    }
    return 1;
}

int setUp(SubstitutePlayer& player, const Scenario& scenario, const Options& o, std::string& error) {
    if (!player.start(scenario.hostOwnThread, error)) return 0;
    if (!o.fresh) return player.loadPlugin(o.plugin, error);
    if (!player.loadPluginCopy(o.plugin, error, o.out)) return 0;
    player.note("running the copy in " + utf8FromAnsi(player.pluginFolder()));
    for (const std::string& file : o.beside) {
        size_t slash = file.find_last_of("\\/");
        std::string target =
            joinPath(player.pluginFolder(), slash == std::string::npos ? file : file.substr(slash + 1));
        if (!CopyFileA(file.c_str(), target.c_str(), FALSE)) {
            error = "cannot copy " + file + " beside the plug-in";
            return 0;
        }
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) return usageError(error);
    if (options.out.empty()) options.out = ".";
    if (!CreateDirectoryA(options.out.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "subplayer: cannot create the folder %s\n", options.out.c_str());
        return 2;
    }

    std::string text;
    if (!readFileBytes(options.scenario, text)) {
        std::fprintf(stderr, "subplayer: cannot read the scenario %s\n", options.scenario.c_str());
        return 2;
    }
    Scenario scenario;
    ScenarioError wrong;
    if (!parseScenario(text, scenario, wrong)) {
        std::fprintf(stderr, "subplayer: %s:%d: %s\n", options.scenario.c_str(), wrong.line, wrong.message.c_str());
        return 2;
    }

    SubstitutePlayer player;
    int status = 0;
    std::vector<std::string> failures;
    if (!setUp(player, scenario, options, error)) {
        failures.push_back(error);
        status = 3;
    } else {
        ScenarioRunner runner(player, scenario, options.out);
        if (!runner.run(atoi(options.timeout.c_str()) * 1000)) status = 1;
        failures = runner.errors();
    }
    player.shutDown();
    appendRunSummary(player);

    std::string log;
    for (const std::string& line : player.record.log) log += line + "\n";
    std::string logPath = joinPath(options.out, "subplayer.log");
    if (!writeFileBytes(logPath, log)) std::fprintf(stderr, "subplayer: cannot write %s\n", logPath.c_str());
    for (const std::string& f : failures) std::fprintf(stderr, "subplayer: %s\n", f.c_str());
    return status;
}
