// SPDX-License-Identifier: MIT
// wfconv._wfconv: the Python module's compiled part. It reads with the library and
// hands the channels' vectors to numpy as they are, so a read costs no copy.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "wfconv/wfconv.hpp"

namespace py = pybind11;

namespace {

// What messages call a file's content handed over in memory.
constexpr const char* kMemoryName = "<bytes>";

struct PythonWaveform {
    wfconv::WaveformHeader header;
    py::array_t<float> channel1;
    py::array_t<float> channel2;
};

// The vector moves to the heap and a capsule, the array's base, deletes it with the
// array: numpy uses the library's memory, and a read peaks at the two arrays.
py::array_t<float> adopt(std::vector<float>&& values) {
    auto owned = std::make_unique<std::vector<float>>(std::move(values));
    const py::capsule base(owned.get(), [](void* vector) { delete static_cast<std::vector<float>*>(vector); });
    const std::vector<float>& kept = *owned.release();  // the capsule frees it, even if the array fails
    return py::array_t<float>({static_cast<py::ssize_t>(kept.size())}, {static_cast<py::ssize_t>(sizeof(float))},
                              kept.data(), base);
}

PythonWaveform to_python(wfconv::Waveform&& waveform) {
    return {waveform.header, adopt(std::move(waveform.channel1)), adopt(std::move(waveform.channel2))};
}

// Created at import; lives as long as the process, like a built-in exception type.
PyObject* truncated_error_type = nullptr;

// How the source appears in errors: filename is what OSError carries (the path as
// os.fspath gives it, like open()), text what messages print.
struct SourceName {
    py::object filename;
    std::string text;
};

// A name as messages print it. A POSIX name need not be UTF-8: os.fsdecode keeps its other
// bytes as lone surrogates, which UTF-8 cannot hold, so they print escaped, as in a repr.
std::string message_text(const py::handle& name) {
    const auto text =
        py::reinterpret_steal<py::bytes>(PyUnicode_AsEncodedString(name.ptr(), "utf-8", "backslashreplace"));
    if (!text) throw py::error_already_set();
    return text;
}

[[noreturn]] void raise_os_error(const std::error_code& error, const SourceName& name) {
#ifdef _WIN32
    if (error.category() == std::system_category()) {
        PyErr_SetExcFromWindowsErrWithFilenameObject(PyExc_OSError, error.value(), name.filename.ptr());
        throw py::error_already_set();
    }
#endif
    // OSError(errno, strerror, filename) picks the subclass that open() would raise.
    const py::object exception = py::handle(PyExc_OSError)(error.value(), error.message(), name.filename);
    PyErr_SetObject(py::type::handle_of(exception).ptr(), exception.ptr());
    throw py::error_already_set();
}

[[noreturn]] void raise_truncated(wfconv::Waveform&& waveform, int cut_channel, const SourceName& name) {
    const bool first_cut = cut_channel == 1;
    const std::size_t arrived = (first_cut ? waveform.channel1 : waveform.channel2).size();
    const std::size_t wanted = (first_cut ? waveform.header.channel1 : waveform.header.channel2).sample_count();
    const std::string message = "Unexpected end of " + name.text + ": channel " + std::to_string(cut_channel) +
                                " has " + std::to_string(arrived) + " of its " + std::to_string(wanted) + " samples";
    const py::object exception = py::handle(truncated_error_type)(message);
    exception.attr("waveform") = to_python(std::move(waveform));
    PyErr_SetObject(truncated_error_type, exception.ptr());
    throw py::error_already_set();
}

PythonWaveform finish(wfconv::ReadResult&& result, const SourceName& name) {
    switch (result.outcome) {
        case wfconv::ReadOutcome::complete:
            return to_python(std::move(result.waveform));
        case wfconv::ReadOutcome::cannot_open:
        case wfconv::ReadOutcome::read_failed:
            raise_os_error(result.error, name);
        case wfconv::ReadOutcome::too_short:
            throw py::value_error(name.text + " is shorter than one 256-byte header block");
        case wfconv::ReadOutcome::ended_early:
            raise_truncated(std::move(result.waveform), result.cut_channel, name);
    }
    throw std::logic_error("unknown read outcome");
}

bool is_path(const py::handle& source) {
    return PyUnicode_Check(source.ptr()) || PyBytes_Check(source.ptr()) ||
           py::hasattr(py::type::handle_of(source), "__fspath__");
}

// The path as the system takes it: bytes on POSIX, wide characters on Windows.
std::filesystem::path native_path(const py::object& fspath) {
#ifdef _WIN32
    PyObject* decoded = nullptr;
    if (PyUnicode_FSDecoder(fspath.ptr(), &decoded) == 0) throw py::error_already_set();
    const auto text = py::reinterpret_steal<py::str>(decoded);
    Py_ssize_t size = 0;
    wchar_t* wide = PyUnicode_AsWideCharString(text.ptr(), &size);
    if (wide == nullptr) throw py::error_already_set();
    std::filesystem::path path(std::wstring(wide, static_cast<std::size_t>(size)));
    PyMem_Free(wide);
    return path;
#else
    PyObject* encoded = nullptr;
    if (PyUnicode_FSConverter(fspath.ptr(), &encoded) == 0) throw py::error_already_set();
    return {std::string(py::reinterpret_steal<py::bytes>(encoded))};
#endif
}

PythonWaveform read_path(const py::handle& source) {
    const auto fspath = py::reinterpret_steal<py::object>(PyOS_FSPath(source.ptr()));
    if (!fspath) throw py::error_already_set();
    const SourceName name{fspath, message_text(py::module_::import("os").attr("fsdecode")(fspath))};
    std::filesystem::path path;
    try {
        path = native_path(fspath);
    } catch (py::error_already_set& error) {
        // File content passed as bytes ends up here; say how to pass it.
        if (error.matches(PyExc_ValueError) && PyBytes_Check(fspath.ptr())) {
            throw py::value_error("a bytes source is a path and cannot hold a null byte; "
                                  "pass a file's content as memoryview(content)");
        }
        throw;
    }
    wfconv::ReadResult result;
    {
        py::gil_scoped_release unlocked;
        result = wfconv::read_waveform(path);
    }
    return finish(std::move(result), name);
}

// Holds an exported buffer for the length of a read: its memory stays put, and a
// bytearray cannot be resized meanwhile.
class ExportedBuffer {
public:
    explicit ExportedBuffer(const py::handle& source) {
        if (PyObject_GetBuffer(source.ptr(), &view_, PyBUF_SIMPLE) != 0) throw py::error_already_set();
    }
    ~ExportedBuffer() { PyBuffer_Release(&view_); }
    ExportedBuffer(const ExportedBuffer&) = delete;
    ExportedBuffer& operator=(const ExportedBuffer&) = delete;

    [[nodiscard]] std::span<const std::uint8_t> bytes() const {
        return {static_cast<const std::uint8_t*>(view_.buf), static_cast<std::size_t>(view_.len)};
    }

private:
    Py_buffer view_{};
};

PythonWaveform read_memory(const py::handle& source, const py::str& name) {
    const ExportedBuffer buffer(source);
    wfconv::ReadResult result;
    {
        py::gil_scoped_release unlocked;
        result = wfconv::read_waveform(buffer.bytes());
    }
    return finish(std::move(result), SourceName{py::none(), message_text(name)});
}

// name: what messages call content in memory; wfconv.read passes a file object's.
PythonWaveform read_source(const py::object& source, const py::str& name) {
    if (is_path(source)) return read_path(source);
    if (PyObject_CheckBuffer(source.ptr()) != 0) return read_memory(source, name);
    throw py::type_error("read() takes a path (str, bytes, os.PathLike), a bytes-like object or a binary file "
                         "object, not " + std::string(py::str(py::type::handle_of(source).attr("__name__"))));
}

std::string describe(const wfconv::ChannelDescriptor& channel) {
    return "ChannelDescriptor(start_block=" + std::to_string(channel.start_block) +
           ", byte_length=" + std::to_string(channel.byte_length) +
           ", scale=" + std::string(py::repr(py::float_(channel.scale))) +
           ", offset=" + std::string(py::repr(py::float_(channel.offset))) + ")";
}

}  // namespace

PYBIND11_MODULE(_wfconv, module) {
    module.doc() = "Compiled part of the wfconv package; import wfconv instead.";
    // The signatures are in the stubs; the docstrings stay prose, as the stubs repeat them.
    py::options options;
    options.disable_function_signatures();

    py::class_<wfconv::ChannelDescriptor>(module, "ChannelDescriptor",
                                          "One channel's fields from the header block.")
        .def_readonly("start_block", &wfconv::ChannelDescriptor::start_block,
                      "Block where the channel's data begins (the header is block 0);\n"
                      "one at or behind the blocks read before means right after them.")
        .def_readonly("byte_length", &wfconv::ChannelDescriptor::byte_length,
                      "Length of the channel's data in bytes; only whole 256-byte blocks are read, "
                      "128 samples each.")
        .def_readonly("scale", &wfconv::ChannelDescriptor::scale,
                      "Factor applied to every raw sample (a 32-bit float, exactly).")
        .def_readonly("offset", &wfconv::ChannelDescriptor::offset,
                      "Added after scaling (a 32-bit float, exactly).")
        .def("__repr__", &describe);

    py::class_<wfconv::WaveformHeader>(module, "WaveformHeader",
                                       "The decoded header block: one descriptor per channel.")
        .def_readonly("channel1", &wfconv::WaveformHeader::channel1, "Channel 1's descriptor.")
        .def_readonly("channel2", &wfconv::WaveformHeader::channel2, "Channel 2's descriptor.")
        .def("__repr__", [](const wfconv::WaveformHeader& header) {
            return "WaveformHeader(channel1=" + describe(header.channel1) + ", channel2=" + describe(header.channel2) +
                   ")";
        });

    py::class_<PythonWaveform>(module, "Waveform", "A waveform file's header and both channels' values.")
        .def_readonly("header", &PythonWaveform::header, "The decoded header block.")
        .def_readonly("channel1", &PythonWaveform::channel1,
                      "Channel 1's values: a 1-D float32 numpy array, the values wfconv writes to PATH1.txt.")
        .def_readonly("channel2", &PythonWaveform::channel2,
                      "Channel 2's values: a 1-D float32 numpy array, the values wfconv writes to PATH2.txt.")
        .def("__repr__", [](const PythonWaveform& waveform) {
            return "<Waveform: " + std::to_string(waveform.channel1.size()) + " + " +
                   std::to_string(waveform.channel2.size()) + " values>";
        });

    truncated_error_type = PyErr_NewExceptionWithDoc(
        "wfconv.TruncatedError",
        "The input ended before a sample that a channel needs.\n\n"
        ".waveform holds the header and the whole samples that arrived; its channel2 is\n"
        "empty when channel 1 was cut.",
        PyExc_EOFError, nullptr);
    if (truncated_error_type == nullptr) throw py::error_already_set();
    module.add_object("TruncatedError", py::handle(truncated_error_type));

    module.attr("__version__") = WFCONV_VERSION;  // setup.py's, from CMakeLists.txt
    module.def("read", &read_source, py::arg("source"), py::arg("name") = py::str(kMemoryName),
               "The compiled reader behind wfconv.read.");
}
