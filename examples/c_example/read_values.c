/* SPDX-License-Identifier: MIT */
/* Reads a waveform file through wfconv's C interface and prints each channel: its number
 * of values, then one value a line in the channel files' "%11.4e" form. A read that did
 * not reach the end prints the values that arrived, then says why on standard error.
 *
 *   cc -std=c99 read_values.c $(pkg-config --cflags --libs wfconv-c) -o read_values
 *   read_values FILE */
#include <stdio.h>
#include <string.h>

#include <wfconv/wfconv.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: read_values FILE\n");
        return 2;
    }
    wfconv_waveform* waveform = wfconv_read_file(argv[1]); /* UTF-8 path */
    if (waveform == NULL) {
        fprintf(stderr, "out of memory\n");
        return 2;
    }
    const wfconv_channel* channels[2] = {&waveform->channel1, &waveform->channel2};
    for (int k = 0; k < 2; ++k) {
        printf("%lu values\n", (unsigned long)channels[k]->count);
        for (size_t i = 0; i < channels[k]->count; ++i) printf("%11.4e\n", (double)channels[k]->values[i]);
    }
    int status = 0;
    if (waveform->outcome != WFCONV_COMPLETE) {
        fprintf(stderr, "%s: %s", argv[1], wfconv_outcome_name(waveform->outcome));
        if (waveform->error != 0) fprintf(stderr, " (%s)", strerror(waveform->error));
        fputc('\n', stderr);
        status = 1;
    }
    wfconv_free(waveform);
    return status;
}
