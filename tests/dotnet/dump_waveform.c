/* What the C interface reads, bit for bit, for the .NET test to compare with: for each path
 * on standard input (one a line), a line "OUTCOME ERRNO [REASON]", then a line per channel,
 * "START LENGTH SCALE OFFSET COUNT VALUE...", floats as their bits in hex. With --layout,
 * first a line of the structs' sizes and offsets. */
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include <wfconv/wfconv.h>

static unsigned long bits(float value) {
    unsigned int word;
    memcpy(&word, &value, sizeof word);
    return word;
}

static void dump_channel(const wfconv_channel* channel) {
    printf("%d %d %08lx %08lx %lu", channel->start_block, channel->byte_length, bits(channel->scale),
           bits(channel->offset), (unsigned long)channel->count);
    for (size_t i = 0; i < channel->count; ++i) printf(" %08lx", bits(channel->values[i]));
    putchar('\n');
}

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "--layout") == 0) {
        printf("%lu %lu %lu %lu %lu %lu %lu\n", (unsigned long)sizeof(wfconv_channel),
               (unsigned long)offsetof(wfconv_channel, values), (unsigned long)offsetof(wfconv_channel, count),
               (unsigned long)sizeof(wfconv_waveform), (unsigned long)offsetof(wfconv_waveform, error),
               (unsigned long)offsetof(wfconv_waveform, channel1), (unsigned long)offsetof(wfconv_waveform, channel2));
    }
    char path[4096];
    while (fgets(path, sizeof path, stdin) != NULL) {
        path[strcspn(path, "\n")] = '\0';
        wfconv_waveform* waveform = wfconv_read_file(path);
        if (waveform == NULL) return 1;
        printf("%s %d", wfconv_outcome_name(waveform->outcome), waveform->error);
        if (waveform->error != 0) printf(" %s", strerror(waveform->error));
        putchar('\n');
        dump_channel(&waveform->channel1);
        dump_channel(&waveform->channel2);
        wfconv_free(waveform);
    }
    return ferror(stdin) ? 1 : 0;
}
