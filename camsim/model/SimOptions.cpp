#include "model/SimOptions.h"

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <type_traits>

namespace zr::sim {

namespace {

bool parseHexBytes(const std::string& text, std::string& bytes) {
    if (text.size() % 2 != 0) return false;
    bytes.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        long v = 0;
        if (!parseNumber("0x" + text.substr(i, 2), 0, 255, v)) return false;
        bytes += static_cast<char>(v);
    }
    return true;
}

int colourIndex(const std::string& name) {
    static const std::map<std::string, int> names = {{"red", 0}, {"r", 0},    {"green", 1},
                                                     {"g", 1},   {"blue", 2}, {"b", 2}};
    const auto it = names.find(name);
    return it == names.end() ? -1 : it->second;
}

// COLOUR:x/y,x/y,...  or  COLOUR:N (N made-up spots).
bool parseSpots(const std::string& text, std::array<std::vector<Spot>, 3>& detected) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return false;
    const int colour = colourIndex(text.substr(0, colon));
    if (colour < 0) return false;
    const std::string list = text.substr(colon + 1);
    std::vector<Spot> spots;
    long count = 0;
    if (list.find('/') == std::string::npos && parseNumber(list, 0, kMaxSpots, count)) {
        for (long i = 0; i < count; ++i) {
            spots.push_back({static_cast<uint16_t>(10 + 7 * i), static_cast<uint16_t>(20 + 5 * i)});
        }
    } else if (!list.empty()) {
        for (const auto& pair : splitAt(list, ',')) {
            const auto slash = pair.find('/');
            long x = 0;
            long y = 0;
            if (slash == std::string::npos || !parseNumber(pair.substr(0, slash), 0, 0xFFFF, x) ||
                !parseNumber(pair.substr(slash + 1), 0, 0xFFFF, y)) {
                return false;
            }
            spots.push_back({static_cast<uint16_t>(x), static_cast<uint16_t>(y)});
        }
        if (spots.size() > static_cast<size_t>(kMaxSpots)) return false;
    }
    detected[static_cast<size_t>(colour)] = spots;
    return true;
}

bool parseSizes(const std::string& text, std::vector<size_t>& sizes) {
    sizes.clear();
    for (const auto& part : splitAt(text, ',')) {
        long v = 0;
        if (!parseNumber(part, 1, 1000, v)) return false;
        sizes.push_back(static_cast<size_t>(v));
    }
    return !sizes.empty();
}

bool parseGains(const std::string& text, std::array<int, 3>& gains) {
    const auto parts = splitAt(text, ',');
    if (parts.size() != 3) return false;
    for (size_t i = 0; i < 3; ++i) {
        long v = 0;
        if (!parseNumber(parts[i], 0, 0xFFFF, v)) return false;
        gains[i] = static_cast<int>(v);
    }
    return true;
}

using Setter = std::function<bool(const std::string&, SimOptions&)>;

// The part of the options that holds `Settings`.
template <class Settings>
Settings& part(SimOptions& o) {
    if constexpr (std::is_same_v<Settings, FaultSettings>) {
        return o.faults;
    } else {
        return o.behaviour;
    }
}

// An option whose value `parse` turns into `field`.
template <class Settings, class T>
Setter parsed(bool (*parse)(const std::string&, T&), T Settings::*field) {
    return [=](const std::string& t, SimOptions& o) { return parse(t, part<Settings>(o).*field); };
}

// A whole number from `min` to `max` for `field`.
template <class Settings, class T>
Setter number(T Settings::*field, long min, long max) {
    return [=](const std::string& t, SimOptions& o) {
        long v = 0;
        if (!parseNumber(t, min, max, v)) return false;
        part<Settings>(o).*field = static_cast<T>(v);
        return true;
    };
}

bool copyText(const std::string& text, std::string& field) {
    field = text;
    return true;
}

const std::map<std::string, Setter>& valueOptions() {
    static const std::map<std::string, Setter> options = {
        {"--nak-next", number(&FaultSettings::nakNextFrames, 0, 1000000)},
        {"--drop-acks", number(&FaultSettings::dropNextAcks, 0, 1000000)},
        {"--corrupt",
         [](const std::string& t, SimOptions& o) {
             long v = 0;
             if (t == "always") {
                 o.faults.corruptAllAnswers = true;
             } else if (t == "once") {
                 o.faults.corruptNextAnswers = 1;
             } else if (parseNumber(t, 0, 1000000, v)) {
                 o.faults.corruptNextAnswers = int(v);
             } else {
                 return false;
             }
             return true;
         }},
        {"--end-byte", number(&FaultSettings::answerEndByte, 0, 255)},
        {"--split", parsed(parseSizes, &FaultSettings::splitSizes)},
        {"--garbage", parsed(parseHexBytes, &FaultSettings::garbage)},
        {"--ack-delay", number(&FaultSettings::ackDelayMs, 0, 600000)},
        {"--delay", number(&FaultSettings::answerDelayMs, 0, 600000)},
        {"--pace", number(&FaultSettings::paceBaud, 1, 10000000)},
        {"--detect-polls", number(&BehaviourSettings::detectPolls, 0, 1000000)},
        {"--detect-result", number(&BehaviourSettings::detectResult, 0, 255)},
        {"--spots", parsed(parseSpots, &BehaviourSettings::detectedSpots)},
        {"--agc-polls", number(&BehaviourSettings::agcPolls, 0, 1000000)},
        {"--agc-result", number(&BehaviourSettings::agcResult, 0, 255)},
        {"--agc-gains", parsed(parseGains, &BehaviourSettings::agcGains)},
        {"--vendor", parsed(copyText, &BehaviourSettings::vendor)},
        {"--model", parsed(copyText, &BehaviourSettings::model)},
        {"--serial", parsed(copyText, &BehaviourSettings::serialNumber)},
        {"--cpu", parsed(copyText, &BehaviourSettings::cpuVersion)},
        {"--fpga", parsed(copyText, &BehaviourSettings::fpgaVersion)},
        {"--temperature", number(&BehaviourSettings::temperatureTenths, 0, 0xFFFF)},
    };
    return options;
}

const std::map<std::string, std::function<void(SimOptions&)>>& flagOptions() {
    static const std::map<std::string, std::function<void(SimOptions&)>> options = {
        {"--silent", [](SimOptions& o) { o.faults.silent = true; }},
        {"--nak", [](SimOptions& o) { o.faults.nakCommands = true; }},
        {"--merge", [](SimOptions& o) { o.faults.mergeAckAndAnswer = true; }},
        {"--no-resend", [](SimOptions& o) { o.faults.resendAnswerOnNak = false; }},
        {"--adjust-needs-key", [](SimOptions& o) { o.behaviour.adjustNeedsKey = true; }},
    };
    return options;
}

}  // namespace

bool parseNumber(const std::string& text, long min, long max, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v < min || v > max) return false;
    value = v;
    return true;
}

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    return parts;
}

bool parseSimOptions(const std::vector<std::string>& args, SimOptions& options,
                     std::vector<std::string>& rest, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string name = arg;
        std::string value;
        bool inlineValue = false;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        if (const auto flag = flagOptions().find(name);
            flag != flagOptions().end() && !inlineValue) {
            flag->second(options);
            continue;
        }
        const auto option = valueOptions().find(name);
        if (option == valueOptions().end()) {
            rest.push_back(arg);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                error = "missing value for " + name;
                return false;
            }
            value = args[++i];
        }
        if (!option->second(value, options)) {
            error = "invalid value for " + name + ": '" + value + "'";
            return false;
        }
    }
    return true;
}

const char* simOptionsHelp() {
    return "Camera behaviour:\n"
           "  --detect-polls N       white spot detection reads 1 this many times (3)\n"
           "  --detect-result V      then this status: 0 done, 2 too many spots, other failed (0)\n"
           "  --spots COLOUR:LIST    spots a detection finds; COLOUR red|green|blue,\n"
           "                         LIST x/y,x/y,... or a count N (up to 64 made-up spots)\n"
           "  --agc-polls N          automatic gain adjustment reads 1 this many times (3)\n"
           "  --agc-result V         then this status: 0 done, other failed (0)\n"
           "  --agc-gains R,G,B      gains set by a finished adjustment (180,170,190)\n"
           "  --adjust-needs-key     refuse adjustment writes until the adjust mode is open\n"
           "  --vendor TEXT --model TEXT --serial TEXT --cpu TEXT --fpga TEXT\n"
           "                         identity texts (CAMSIM, ZR-K880TM, SIM00001, 1002, 0105)\n"
           "  --temperature TENTHS   temperature in tenths of a degree (253)\n"
           "Faults:\n"
           "  --silent               never reply\n"
           "  --nak                  NAK every frame\n"
           "  --nak-next N           NAK the next N frames\n"
           "  --drop-acks N          the next N frames go unanswered, as if lost\n"
           "  --corrupt once|always|N  wrong checksum on answer frames\n"
           "  --end-byte V           the byte after the answer data (3)\n"
           "  --split A,B,...        cut each reply into reads of these sizes\n"
           "  --merge                ACK and answer frame in one read\n"
           "  --garbage HEX          bytes sent before every reply, e.g. 4142\n"
           "  --ack-delay MS         delay before the ACK\n"
           "  --delay MS             delay from the ACK to the answer frame\n"
           "  --no-resend            do not repeat an answer frame the host NAKs\n"
           "  --pace BAUD            pace bytes at this line speed, 10 bits a byte\n";
}

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

}  // namespace zr::sim
