// _zrk880: the Python binding of libzrk880. Each function calls the C API with
// the interpreter lock released, so other Python threads (and the link's own
// thread running a trace callback) go on meanwhile; callbacks take the lock
// back. Errors become the exceptions zrk880/__init__.py defines.

#include <pybind11/functional.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "zrk880.h"

namespace py = pybind11;

namespace {

// zrk880.Error's factory: (code, message) -> exception instance. Never
// destroyed: a Python object must not be released after the interpreter ends.
py::object& errorFactory = *new py::object;

[[noreturn]] void raise(int code, const std::string& text);
[[noreturn]] void raise(int code) {
    raise(code, zrk880_last_error());
}

[[noreturn]] void raise(int code, const std::string& text) {
    py::object error = errorFactory(code, text);
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
    throw py::error_already_set();
}

// A text for the C API, which ends it at the first zero byte: one inside
// would silently cut it short.
const char* cstr(const std::string& text, const char* what) {
    if (text.find('\0') != std::string::npos)
        raise(ZRK880_ERR_INPUT, std::string(what) + " holds a zero character");
    return text.c_str();
}

// Runs a C call without the interpreter lock and raises on a failure.
template <class Call>
void check(Call&& call) {
    int code = 0;
    {
        py::gil_scoped_release release;
        code = call();
    }
    if (code != ZRK880_OK) raise(code);
}

zrk880_camera* cameraOf(uintptr_t handle) {
    return reinterpret_cast<zrk880_camera*>(handle);
}

// A progress callable for one walk. An exception it raises stops the walk
// and is raised again once the walk has ended.
struct Progress {
    py::object callable;
    std::unique_ptr<py::error_already_set> error;

    static int call(int done, int total, int channel, void* user) {
        auto* self = static_cast<Progress*>(user);
        py::gil_scoped_acquire acquire;
        try {
            py::object go = self->callable(done, total, channel);
            // None (a callable that returns nothing) goes on; False stops.
            return go.is_none() || py::bool_(go) ? 0 : 1;
        } catch (py::error_already_set& e) {
            self->error = std::make_unique<py::error_already_set>(std::move(e));
            return 1;
        }
    }
};

template <class Walk>
void walkWith(const py::object& progress, Walk&& walk) {
    Progress p{progress, nullptr};
    int code = 0;
    {
        py::gil_scoped_release release;
        code = progress.is_none() ? walk(nullptr, nullptr) : walk(&Progress::call, &p);
    }
    if (p.error) throw std::move(*p.error);
    if (code != ZRK880_OK) raise(code);
}

// The trace callables of the open handles; each must outlive its
// registration with the library.
// Never destroyed, like errorFactory.
std::mutex traceMutex;
std::map<uintptr_t, std::unique_ptr<py::object>>& traces =
    *new std::map<uintptr_t, std::unique_ptr<py::object>>;

void traceLine(const zrk880_trace_line* line, void* user) {
    py::gil_scoped_acquire acquire;
    auto* callable = static_cast<py::object*>(user);
    try {
        py::dict d;
        d["ms"] = line->ms;
        d["direction"] = line->direction;
        d["hex"] = line->hex;
        d["text"] = line->text;
        d["meaning"] = line->meaning;
        d["round_trip_ms"] = line->round_trip_ms;
        (*callable)(d);
    } catch (py::error_already_set& e) {
        // Nobody to hand it to on the link's thread.
        e.discard_as_unraisable(*callable);
    }
}

void setTrace(uintptr_t handle, const py::object& callable) {
    std::unique_ptr<py::object> holder;
    if (!callable.is_none()) holder = std::make_unique<py::object>(callable);
    py::object* user = holder.get();
    check([&] { return zrk880_set_trace(cameraOf(handle), user ? &traceLine : nullptr, user); });
    // The library no longer calls the one replaced: it may go.
    std::unique_ptr<py::object> old;
    {
        std::lock_guard lock(traceMutex);
        old = std::move(traces[handle]);
        traces[handle] = std::move(holder);
        if (!traces[handle]) traces.erase(handle);
    }
}

py::bytes lutBytes(const std::vector<uint8_t>& table) {
    return py::bytes(reinterpret_cast<const char*>(table.data()), table.size());
}

std::vector<uint8_t> lutFrom(const py::bytes& data) {
    const std::string s = data;
    if (s.size() != ZRK880_LUT_SIZE)
        throw py::value_error("a look-up table is " + std::to_string(ZRK880_LUT_SIZE) +
                              " bytes, not " + std::to_string(s.size()));
    return std::vector<uint8_t>(s.begin(), s.end());
}

// A register text as a str, one character a byte: the camera's bytes above
// 127 have no agreed encoding.
py::object latin1(const char* text) {
    return py::bytes(text).attr("decode")("latin-1");
}

py::list differences(std::vector<zrk880_difference>& found) {
    py::list out;
    for (const auto& d : found)
        out.append(py::make_tuple(d.name, d.row, d.camera_value, d.file_value, d.default_value));
    return out;
}

}  // namespace

PYBIND11_MODULE(_zrk880, m) {
    m.doc() = "Low-level binding of libzrk880; use the zrk880 package.";
    m.def("_set_error_factory", [](py::object factory) { errorFactory = std::move(factory); });
    m.def("version", [] { return std::string(zrk880_version()); });
    m.attr("LUT_SIZE") = ZRK880_LUT_SIZE;
    m.attr("USER_SETTINGS") = ZRK880_USER_SETTINGS;

    m.def("open", [](const std::string& route, int baud) {
        zrk880_camera* camera = nullptr;
        const char* routeC = cstr(route, "the route");
        check([&] { return zrk880_open(routeC, baud, &camera); });
        return reinterpret_cast<uintptr_t>(camera);
    });
    m.def("close", [](uintptr_t handle) {
        check([&] { return zrk880_close(cameraOf(handle)); });
        std::lock_guard lock(traceMutex);
        traces.erase(handle);
    });
    m.def("setting_info", [](const std::string& name) {
        zrk880_setting s{};
        const char* nameC = cstr(name, "the setting's name");
        check([&] { return zrk880_setting_info(nameC, &s); });
        return py::make_tuple(s.row, s.name, s.min_value, s.max_value, s.default_value);
    });
    m.def("setting_names", [] {
        py::list names;
        for (int row = 0; row < ZRK880_ROWS; ++row)
            if (const char* name = zrk880_setting_name(row)) names.append(name);
        return names;
    });
    m.def("get", [](uintptr_t handle, const std::string& name) {
        int32_t value = 0;
        const char* nameC = cstr(name, "the setting's name");
        check([&] { return zrk880_get(cameraOf(handle), nameC, &value); });
        return value;
    });
    m.def("set", [](uintptr_t handle, const std::string& name, int64_t value) {
        // A value beyond 32 bits is out of every setting's range.
        if (value < INT32_MIN || value > INT32_MAX) value = value < 0 ? INT32_MIN : INT32_MAX;
        const char* nameC = cstr(name, "the setting's name");
        check([&] { return zrk880_set(cameraOf(handle), nameC, static_cast<int32_t>(value)); });
    });
    m.def("command", [](uintptr_t handle, const std::string& text) -> py::object {
        const char* c = cstr(text, "the command text");
        uint8_t answer[3] = {0, 0, 0};
        int answered = 0;
        check([&] { return zrk880_command(cameraOf(handle), c, answer, &answered); });
        if (!answered) return py::none();
        return py::bytes(reinterpret_cast<const char*>(answer), 3);
    });
    m.def("identity", [](uintptr_t handle) {
        zrk880_identity_texts t{};
        check([&] { return zrk880_identity(cameraOf(handle), &t); });
        py::dict d;
        d["vendor"] = latin1(t.vendor);
        d["model"] = latin1(t.model);
        d["serial_number"] = latin1(t.serial_number);
        d["cpu_version"] = latin1(t.cpu_version);
        d["fpga_version"] = latin1(t.fpga_version);
        return d;
    });
    m.def("snapshot", [](uintptr_t handle, int format) {
        std::string text(ZRK880_SNAPSHOT_SIZE, '\0');
        check([&] {
            size_t size = text.size();
            const int code = zrk880_snapshot(cameraOf(handle), static_cast<zrk880_format>(format),
                                             text.data(), &size);
            text.resize(code == ZRK880_OK ? size : 0);
            return code;
        });
        return text;
    });
    m.def("snapshot_file", [](uintptr_t handle, const std::string& path) {
        const char* pathC = cstr(path, "the file name");
        check([&] { return zrk880_snapshot_file(cameraOf(handle), pathC); });
    });
    m.def("restore", [](uintptr_t handle, const std::string& text) {
        int written = 0;
        check([&] { return zrk880_restore(cameraOf(handle), text.data(), text.size(), &written); });
        return written;
    });
    m.def("restore_file", [](uintptr_t handle, const std::string& path) {
        int written = 0;
        const char* pathC = cstr(path, "the file name");
        check([&] { return zrk880_restore_file(cameraOf(handle), pathC, &written); });
        return written;
    });
    m.def("compare", [](uintptr_t handle, const std::string& text) {
        std::vector<zrk880_difference> found(ZRK880_USER_SETTINGS);
        check([&] {
            size_t count = found.size();
            const int code =
                zrk880_compare(cameraOf(handle), text.data(), text.size(), found.data(), &count);
            found.resize(code == ZRK880_OK ? count : 0);
            return code;
        });
        return differences(found);
    });
    m.def("compare_file", [](uintptr_t handle, const std::string& path) {
        std::vector<zrk880_difference> found(ZRK880_USER_SETTINGS);
        const char* pathC = cstr(path, "the file name");
        check([&] {
            size_t count = found.size();
            const int code = zrk880_compare_file(cameraOf(handle), pathC, found.data(), &count);
            found.resize(code == ZRK880_OK ? count : 0);
            return code;
        });
        return differences(found);
    });
    m.def("load_memory", [](uintptr_t handle, int memory) {
        check([&] { return zrk880_load_memory(cameraOf(handle), memory); });
    });
    m.def("save_memory", [](uintptr_t handle, int memory) {
        check([&] { return zrk880_save_memory(cameraOf(handle), memory); });
    });
    m.def("factory_setting", [](uintptr_t handle) {
        check([&] { return zrk880_factory_setting(cameraOf(handle)); });
    });
    m.def("lut_read", [](uintptr_t handle, const py::bytes& start, const py::object& progress) {
        std::vector<uint8_t> table = lutFrom(start);
        walkWith(progress, [&](zrk880_progress_fn fn, void* user) {
            return zrk880_lut_read(cameraOf(handle), table.data(), fn, user);
        });
        return lutBytes(table);
    });
    m.def("lut_write", [](uintptr_t handle, const py::bytes& data, const py::object& progress) {
        const std::vector<uint8_t> table = lutFrom(data);
        walkWith(progress, [&](zrk880_progress_fn fn, void* user) {
            return zrk880_lut_write(cameraOf(handle), table.data(), fn, user);
        });
    });
    m.def("lut_load_csv", [](const std::string& path) {
        std::vector<uint8_t> table(ZRK880_LUT_SIZE);
        const char* pathC = cstr(path, "the file name");
        check([&] { return zrk880_lut_load_csv(pathC, table.data()); });
        return lutBytes(table);
    });
    m.def("lut_save_csv", [](const std::string& path, const py::bytes& data) {
        const std::vector<uint8_t> table = lutFrom(data);
        const char* pathC = cstr(path, "the file name");
        check([&] { return zrk880_lut_save_csv(pathC, table.data()); });
    });
    m.def("set_trace", &setTrace);
}
