#include "CliCommands.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CliSession.h"
#include "link/ClOpen.h"
#include "link/ComPort.h"
#include "link/ComPortResolver.h"
#include "link/FrameCodec.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "link/SystemClock.h"
#include "params/ParamNames.h"
#include "params/SafeFileReplace.h"
#include "params/SettingsFile.h"
#include "zrk880.h"

namespace zr::cli {

namespace {

int usage(const std::string& message) {
    std::fprintf(stderr, "zrk880ctl: %s\n", message.c_str());
    return kExitUsage;
}

bool readFile(const std::string& path, std::string& out, std::string& error) {
    const SettingsFileRead read = SettingsFile::read(path, out);
    if (!read.ok()) error = path + ": " + read.problem;
    return read.ok();
}

bool isCommandRegister(int row) {
    return row == ROW_MEMORY_LOAD || row == ROW_MEMORY_SAVE || row == ROW_FACTORY_SETTING;
}

// A call's result: failures were shown as they happened.
bool ok(int result) {
    return result == ZRK880_OK;
}

std::string nameOf(int row) {
    return std::string(ParamNames::name(row));
}

int cmdPorts() {
    StderrSink sink(false);
    MessageRelay relay(sink);
    SerialLink link(relay, SystemClock::instance());
    EnumerateComPorts(link);
    std::printf("COM ports (free):\n");
    bool any = false;
    for (int n : link.comPorts()) {
        if (n < 0) break;
        any = true;
        std::printf("  COM%-3d %s\n", n, comPortDevice(n).c_str());
    }
    if (!any) std::printf("  none\n");
    std::printf("Camera Link ports:\n");
    auto ports = commonLibraryPorts();
    if (!ports) {
        std::printf("  Not available (the common library %s does not load)\n", kClAllSerialName);
    } else if (ports->empty()) {
        std::printf("  Not available\n");
    } else {
        for (size_t i = 0; i < ports->size(); ++i)
            std::printf("  %zu  %s  (Manufacture: %s)\n", i, (*ports)[i].portId.c_str(),
                        (*ports)[i].manufacturer.c_str());
    }
    return kExitOk;
}

int cmdNames(const CameraParamTable& table) {
    std::printf("%-4s %-24s %7s %7s %7s\n", "row", "name", "min", "max", "default");
    for (int row = 0; row < CameraParamRows; ++row) {
        auto name = ParamNames::name(row);
        if (name.empty()) continue;
        const CameraParam& p = table[row];
        std::printf("%-4d %-24s %7d %7d %7d\n", row, std::string(name).c_str(), p.minValue,
                    p.maxValue, p.defaultValue);
    }
    return kExitOk;
}

int cmdGet(CliSession& s, const std::vector<int>& rows) {
    for (int row : rows) {
        int32_t value = 0;
        if (!ok(zrk880_get(s.camera(), nameOf(row).c_str(), &value))) return kExitFailure;
        std::printf("%s = %d\n", nameOf(row).c_str(), value);
    }
    return kExitOk;
}

// Why the link would refuse this command text before sending it, with the
// link's own words; empty when it would send it. The link shows a box for
// every bad character; a script gets one line.
std::string commandTextProblem(const std::string& text) {
    if (text.empty()) return "raw needs a command text that is not empty";
    const CommandTextCheck check = checkCommandText(text);
    if (check.badCharacters > 0) return "Command ERROR: Character error. (\"" + text + "\")";
    if (check.length < 4) return "Command ERROR: Command Length error. (\"" + text + "\")";
    return {};
}

int cmdRaw(CliSession& s, const std::string& text) {
    uint8_t answer[3] = {0, 0, 0};
    int answered = 0;
    if (!ok(zrk880_command(s.camera(), text.c_str(), answer, &answered))) return kExitFailure;
    if (answered) std::printf("%02X%02X%02X\n", answer[0], answer[1], answer[2]);
    return kExitOk;
}

// The look-up tables, channel by channel, entry by entry, as the editor's READ does.
int cmdLutRead(CliSession& s, const std::string& path) {
    std::vector<uint8_t> table(ZRK880_LUT_SIZE);
    if (!ok(zrk880_lut_read(s.camera(), table.data(), nullptr, nullptr))) {
        std::fprintf(stderr, "Error: Failed to get LUT\n");
        return kExitFailure;
    }
    if (!ok(zrk880_lut_save_csv(path.c_str(), table.data()))) {
        std::fprintf(stderr, "zrk880ctl: %s\n", zrk880_last_error());
        return kExitFailure;
    }
    return kExitOk;
}

// Every channel, whatever the editor would show.
int cmdLutWrite(CliSession& s, const std::vector<uint8_t>& table) {
    if (!ok(zrk880_lut_write(s.camera(), table.data(), nullptr, nullptr))) {
        std::fprintf(stderr, "Error: Failed to write LUT\n");
        return kExitFailure;
    }
    return kExitOk;
}

int memoryArg(const std::string& arg) {
    std::string a;
    for (char c : arg)
        if (c != ' ') a += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (a == "DEFAULT" || a == "0") return 0;
    for (int n = 1; n <= 4; ++n)
        if (a == "FILE" + std::to_string(n) || a == std::to_string(n)) return n;
    return -1;
}

}  // namespace

int runCommand(const CliOptions& o) {
    const std::string& cmd = o.command;
    const auto& args = o.args;
    CameraParamTable table;

    if (cmd == "ports") return args.empty() ? cmdPorts() : usage("ports takes no arguments");
    if (cmd == "names") return cmdNames(table);

    // Everything the user gave is checked before the link is opened.
    if (cmd == "get") {
        if (args.empty()) return usage("get needs at least one NAME or ROW");
        std::vector<int> rows;
        for (const auto& a : args) {
            // A name or a row number of a real register.
            const auto row = ParamNames::find(a);
            if (!row) return usage("unknown setting \"" + a + "\" (see: zrk880ctl names)");
            rows.push_back(*row);
        }
        CliSession s(o);
        if (!s.open()) return kExitFailure;
        return cmdGet(s, rows);
    }
    if (cmd == "set") {
        if (args.size() != 2) return usage("set needs NAME|ROW and VALUE");
        const auto found = ParamNames::find(args[0]);
        if (!found) return usage("unknown setting \"" + args[0] + "\" (see: zrk880ctl names)");
        const int row = *found;
        if (isCommandRegister(row))
            return usage(std::string(ParamNames::name(row)) +
                         " is a command register: use load, save or factory-setting");
        long long value = 0;
        if (!parseInt(args[1], value) || value < INT32_MIN || value > INT32_MAX)
            return usage("\"" + args[1] + "\" is not a whole number");
        const CameraParam& p = table[row];
        if (value < p.minValue || value > p.maxValue)
            return usage("Send error: Setting value is out of range (" +
                         std::string(ParamNames::name(row)) + ": " + std::to_string(p.minValue) +
                         ".." + std::to_string(p.maxValue) + ")");
        CliSession s(o);
        if (!s.open()) return kExitFailure;
        if (!ok(zrk880_set(s.camera(), nameOf(row).c_str(), static_cast<int32_t>(value))))
            return kExitFailure;
        return kExitOk;
    }
    if (cmd == "raw") {
        if (args.size() != 1) return usage("raw needs one command text");
        const std::string problem = commandTextProblem(args[0]);
        if (!problem.empty()) return usage(problem);
        CliSession s(o);
        if (!s.open()) return kExitFailure;
        return cmdRaw(s, args[0]);
    }
    if (cmd == "dump") {
        bool csv = false;
        std::string path;
        for (const auto& a : args) {
            if (a == "--csv")
                csv = true;
            else if (path.empty())
                path = a;
            else
                return usage("dump takes at most one FILE");
        }
        // No path and "-" (stdout) have no extension: JSON unless --csv.
        const SettingsFile::Format format =
            csv ? SettingsFile::Format::Csv : SettingsFile::formatForPath(path);
        CliSession s(o);
        if (!s.open()) return kExitFailure;
        std::string text(ZRK880_SNAPSHOT_SIZE, '\0');
        size_t size = text.size();
        if (!ok(zrk880_snapshot(
                s.camera(),
                format == SettingsFile::Format::Csv ? ZRK880_FORMAT_CSV : ZRK880_FORMAT_JSON,
                text.data(), &size)))
            return kExitFailure;
        text.resize(size);
        if (path.empty() || path == "-") {
            std::fwrite(text.data(), 1, text.size(), stdout);
        } else {
            // A failed write never destroys the snapshot that was there.
            if (const int err = replaceFileSafely(path, text); err != 0) {
                std::fprintf(stderr, "zrk880ctl: %s: %s\n", path.c_str(), std::strerror(err));
                return kExitFailure;
            }
        }
        return kExitOk;
    }
    if (cmd == "restore" || cmd == "diff") {
        if (args.size() != 1) return usage(cmd + " needs one FILE");
        std::string text, error;
        std::vector<SettingsEntry> entries;
        if (!readFile(args[0], text, error)) return usage(error);
        if (!SettingsFile::parse(text, table, entries, error)) return usage(args[0] + ": " + error);
        CliSession s(o);
        if (!s.open()) return kExitFailure;
        if (cmd == "restore") {
            int written = 0;
            if (!ok(zrk880_restore(s.camera(), text.data(), text.size(), &written)))
                return kExitFailure;
            std::fprintf(stderr, "restored %d settings\n", written);
            return kExitOk;
        }
        std::vector<zrk880_difference> differences(ZRK880_USER_SETTINGS);
        size_t count = differences.size();
        if (!ok(zrk880_compare(s.camera(), text.data(), text.size(), differences.data(), &count)))
            return kExitFailure;
        for (size_t i = 0; i < count; ++i) {
            const zrk880_difference& d = differences[i];
            std::printf("%-24s row %-3d camera %6d  file %6d  default %6d\n", d.name, d.row,
                        d.camera_value, d.file_value, d.default_value);
        }
        return count > 0 ? kExitDiffers : kExitOk;
    }
    if (cmd == "load" || cmd == "save") {
        if (args.size() != 1) return usage(cmd + " needs one MEMORY");
        int n = memoryArg(args[0]);
        if (n < 0 || (cmd == "save" && n == 0))
            return usage("\"" + args[0] + "\" is not a setting memory" +
                         (cmd == "save" ? " (FILE1-FILE4)" : " (DEFAULT, FILE1-FILE4)"));
        CliSession s(o);
        if (!s.open()) return kExitFailure;
        const int result =
            cmd == "load" ? zrk880_load_memory(s.camera(), n) : zrk880_save_memory(s.camera(), n);
        return ok(result) ? kExitOk : kExitFailure;
    }
    if (cmd == "lut") {
        if (args.size() != 2 || (args[0] != "read" && args[0] != "write"))
            return usage("lut needs read FILE or write FILE");
        if (args[0] == "read") {
            CliSession s(o);
            if (!s.open()) return kExitFailure;
            return cmdLutRead(s, args[1]);
        }
        // The whole file is checked before anything is sent.
        std::vector<uint8_t> table(ZRK880_LUT_SIZE);
        if (!ok(zrk880_lut_load_csv(args[1].c_str(), table.data())))
            return usage(zrk880_last_error());
        CliSession s(o);
        if (!s.open()) return kExitFailure;
        return cmdLutWrite(s, table);
    }
    if (cmd == "factory-setting") {
        if (!args.empty()) return usage("factory-setting takes no arguments");
        if (!o.yes) return usage("factory-setting needs --yes");
        CliSession s(o);
        if (!s.open()) return kExitFailure;
        return ok(zrk880_factory_setting(s.camera())) ? kExitOk : kExitFailure;
    }
    return usage("unknown command \"" + cmd + "\"");
}

}  // namespace zr::cli
