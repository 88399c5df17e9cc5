/* SPDX-License-Identifier: MIT */
/* wfconv's C interface: reading waveform files from C and from any language that calls
 * C functions in a shared library (libwfconv.so.1, wfconv.dll). The same reader as the
 * C++ API (wfconv.hpp): the values are exactly those of the command's channel files.
 *
 * Users of other languages declare these types and functions by hand, so the names, the
 * values and the layout below do not change within a major version. C99 or C++. */
#ifndef WFCONV_WFCONV_H
#define WFCONV_WFCONV_H

#include <stddef.h>
#include <stdint.h>

/* Only the shared library's own build exports; callers need no macro. */
#if defined(WFCONV_BUILDING_SHARED) && defined(_WIN32)
#define WFCONV_API __declspec(dllexport)
#elif defined(WFCONV_BUILDING_SHARED)
#define WFCONV_API __attribute__((visibility("default")))
#else
#define WFCONV_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* How a read ended; each has the command's exit status beside it. */
typedef enum wfconv_outcome {
    WFCONV_COMPLETE = 0,  /* both channels whole (status 0) */
    WFCONV_CANNOT_OPEN,   /* the file could not be opened; error says why (status 2) */
    WFCONV_TOO_SHORT,     /* less than one 256-byte header block (status 2) */
    WFCONV_READ_FAILED,   /* an I/O error; error says why (status 2) */
    WFCONV_ENDED_EARLY    /* the input ended before a sample a channel needs (status 3) */
} wfconv_outcome;

/* One channel: its header fields and its values. values is NULL when count is 0. */
typedef struct wfconv_channel {
    int32_t start_block;
    int32_t byte_length;
    float scale;
    float offset;
    const float* values;
    size_t count;
} wfconv_channel;

/* The header fields are zero after cannot_open and too_short. After ended_early and
 * read_failed the channels hold the whole samples that arrived, channel 2 none when
 * channel 1 was cut short, like the command's channel files. */
typedef struct wfconv_waveform {
    wfconv_outcome outcome;
    int error; /* errno-style, 0 if none */
    wfconv_channel channel1, channel2;
} wfconv_waveform;

/* Reads may run at once on several threads, of different files or of the same one, from
 * a path or from memory: the library keeps no state between calls. A waveform belongs to
 * its caller; threads may read it at once, but it is freed once, when none uses it. */

/* Reads a file; path is UTF-8, on Windows too. NULL only when memory runs out. */
WFCONV_API wfconv_waveform* wfconv_read_file(const char* path);

/* The same for a file's content already in memory; data is not kept. */
WFCONV_API wfconv_waveform* wfconv_read_memory(const void* data, size_t size);

/* Frees a waveform and its values; NULL is fine. */
WFCONV_API void wfconv_free(wfconv_waveform* waveform);

/* The channel that ended early, 1 or 2, after ended_early or read_failed in a channel;
 * 0 otherwise and for NULL. When it is 1, the command creates no file for channel 2. */
WFCONV_API int wfconv_cut_channel(const wfconv_waveform* waveform);

/* "complete", "cannot_open", "too_short", "read_failed", "ended_early"; "unknown" for
 * any other value. The text is static. */
WFCONV_API const char* wfconv_outcome_name(wfconv_outcome outcome);

/* The library's version, "MAJOR.MINOR.PATCH". */
WFCONV_API const char* wfconv_version(void);

#ifdef __cplusplus
}
#endif

#endif /* WFCONV_WFCONV_H */
