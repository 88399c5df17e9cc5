/* SPDX-License-Identifier: MIT */
/* The C interface's reads, which the .NET and Octave tests hold their readers to: a line of the
 * structs' sizes and offsets, then for each path on standard input "OUTCOME NAME [REASON]" and a
 * line per channel: start block, byte length, count, then scale, offset and the values as their
 * bits in hex (a signalling NaN stays one). */
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include <wfconv/wfconv.h>

static unsigned bits(float value) {
    unsigned word;
    memcpy(&word, &value, sizeof word);
    return word;
}

int main(void) {
    printf("%zu %zu %zu %zu %zu\n", sizeof(wfconv_channel), offsetof(wfconv_channel, values),
           offsetof(wfconv_channel, count), sizeof(wfconv_waveform), offsetof(wfconv_waveform, channel2));
    char path[4096];
    while (fgets(path, sizeof path, stdin) != NULL) {
        path[strcspn(path, "\n")] = '\0';
        wfconv_waveform* waveform = wfconv_read_file(path);
        if (waveform == NULL) return 1;
        printf("%d %s %s\n", (int)waveform->outcome, wfconv_outcome_name(waveform->outcome),
               waveform->error != 0 ? strerror(waveform->error) : "");
        const wfconv_channel* channels[2] = {&waveform->channel1, &waveform->channel2};
        for (int k = 0; k < 2; ++k) {
            const wfconv_channel* c = channels[k];
            printf("%d %d %zu %08x %08x", c->start_block, c->byte_length, c->count, bits(c->scale), bits(c->offset));
            for (size_t i = 0; i < c->count; ++i) printf(" %08x", bits(c->values[i]));
            putchar('\n');
        }
        wfconv_free(waveform);
    }
    return 0;
}
