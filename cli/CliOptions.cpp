#include "CliOptions.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "link/NetUrl.h"

namespace zr::cli {

const char* const kUsage =
    "Usage: zrk880ctl [ROUTE] [OPTIONS] COMMAND [ARGS]\n"
    "\n"
    "Controls a ZR-K880TM camera over its serial control channel.\n"
    "\n"
    "Route (one of):\n"
    "  --port COMn          a COM port, resolved as the panel does (port directory, then\n"
    "                       COM1-4 /dev/ttyS0-3, COM5-8 /dev/ttyUSB0-3, COM9-10 /dev/ttyACM0-1)\n"
    "  --device PATH        any serial device\n"
    "  --url URL            a network serial port: rfc2217://HOST:PORT (RFC 2217, the\n"
    "                       line set from here) or socket://HOST:PORT (raw TCP, the line\n"
    "                       set at the far end), such as ser2net serves\n"
    "  --cl-all [INDEX]     the Camera Link common library (clallserial), serial index\n"
    "  --cl-lib FILE        a frame grabber maker's Camera Link serial library\n"
    "\n"
    "Options:\n"
    "  --baud N             9600 (default) or 115200\n"
    "  --yes                answer Yes to questions (factory-setting)\n"
    "  --verbose            print every frame sent and received with a timestamp\n"
    "  -h, --help           this text\n"
    "  --version            the version\n"
    "\n"
    "Commands:\n"
    "  ports                free COM ports and Camera Link ports (needs no route)\n"
    "  get NAME|ROW...      read settings\n"
    "  set NAME|ROW VALUE   write a setting (range checked before anything is sent)\n"
    "  raw TEXT             send a command text; a read text prints the three answer bytes\n"
    "  dump [FILE]          read the 53 user settings; JSON, or CSV for a .csv FILE\n"
    "                       (stdout when FILE is absent or -; --csv for CSV on stdout)\n"
    "  restore FILE         write a snapshot back (rows 0-49 in order; memory and\n"
    "                       factory registers are never written)\n"
    "  diff FILE            compare the camera with a snapshot\n"
    "  load MEMORY          load a setting memory (DEFAULT, FILE1-FILE4 or 0-4)\n"
    "  save MEMORY          save the settings into FILE1-FILE4 (or 1-4)\n"
    "  factory-setting      run the camera's factory setting (needs --yes)\n"
    "  lut read FILE        read the look-up tables into a CSV file\n"
    "  lut write FILE       write the look-up tables from a CSV file\n"
    "  names                list the setting names with row, range and default\n"
    "\n"
    "Exit status: 0 success, 1 camera or link failure, 2 bad usage or bad input,\n"
    "3 diff found differences.\n";

bool parseInt(std::string_view s, long long& out) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

bool parseCliOptions(int argc, const char* const* argv, CliOptions& o, std::string& error) {
    auto setRoute = [&](Route r) {
        if (o.route != Route::None) {
            error = "give only one of --port, --device, --url, --cl-all and --cl-lib";
            return false;
        }
        o.route = r;
        return true;
    };
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        auto needValue = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = std::string(a) + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        if (!o.command.empty()) {
            o.args.emplace_back(a);
            continue;
        }
        if (a == "-h" || a == "--help") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--yes" || a == "-y") {
            o.yes = true;
        } else if (a == "--verbose" || a == "-v") {
            o.verbose = true;
        } else if (a == "--port") {
            if (!setRoute(Route::ComPort) || !needValue(o.port)) return false;
        } else if (a == "--device") {
            if (!setRoute(Route::Device) || !needValue(o.device)) return false;
        } else if (a == "--url") {
            // A URL opens as a device path does; the transport layer tells them apart.
            if (!setRoute(Route::Device) || !needValue(o.device)) return false;
            if (!hasNetScheme(o.device)) {
                error = "--url takes rfc2217://HOST:PORT or socket://HOST:PORT";
                return false;
            }
        } else if (a == "--cl-lib") {
            if (!setRoute(Route::ClLib) || !needValue(o.library)) return false;
        } else if (a == "--cl-all") {
            if (!setRoute(Route::ClAll)) return false;
            long long index = 0;
            if (i + 1 < argc && parseInt(argv[i + 1], index)) {
                if (index < 0 || index > 255) {
                    error = "--cl-all index must be 0..255";
                    return false;
                }
                o.clIndex = static_cast<unsigned>(index);
                ++i;
            }
        } else if (a == "--baud") {
            std::string v;
            long long baud = 0;
            if (!needValue(v)) return false;
            if (!parseInt(v, baud) || (baud != 9600 && baud != 115200)) {
                error = "--baud must be 9600 or 115200";
                return false;
            }
            o.baud = static_cast<int>(baud);
        } else if (!a.empty() && a[0] == '-') {
            error = "unknown option " + std::string(a);
            return false;
        } else {
            o.command = std::string(a);
        }
    }
    if (o.command.empty() && !o.help && !o.version) {
        error = "no command given";
        return false;
    }
    return true;
}

}  // namespace zr::cli
