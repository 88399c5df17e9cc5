/* SPDX-License-Identifier: MIT */
/* wfconv_read: MATLAB's and Octave's reader of waveform files, over wfconv's C interface,
 * which is linked in: the MEX file needs no library at run time. The help text is in
 * wfconv_read.m. */
#include <errno.h>
#include <string.h>

#include "mex.h"
#include "wfconv/wfconv.h"

static const char kUsage[] =
    "Usage: w = wfconv_read(path) with path a char vector or string,\n"
    "       w = wfconv_read(content) with content a uint8 vector holding a file";

/* What messages call content handed over as uint8, as the Python module calls its bytes. */
static const char kContentName[] = "<bytes>";

/* The waveform of the call under way. An allocation that fails inside the mx* functions
 * leaves the MEX file without returning; the next call, or the unloading, frees it then. */
static wfconv_waveform* held = NULL;

static void release_held(void) {
    wfconv_free(held);
    held = NULL;
}

static void bad_argument(const char* why) {
    mexErrMsgIdAndTxt("wfconv:badArgument", "%s\n%s", why, kUsage);
}

/* A path as UTF-8: Octave's char arrays hold UTF-8 already; MATLAB's hold UTF-16. */
static char* path_text(const mxArray* chars) {
    const mxChar* units = mxGetChars(chars);
    const size_t count = mxGetNumberOfElements(chars);
    for (size_t i = 0; i < count; ++i) {
        if (units[i] == 0) bad_argument("The path holds a null character.");
    }
#ifdef HAVE_OCTAVE
    return mxArrayToString(chars);
#else
    return mxArrayToUTF8String(chars);
#endif
}

static mxArray* int32_scalar(int32_t value) {
    mxArray* scalar = mxCreateNumericMatrix(1, 1, mxINT32_CLASS, mxREAL);
    *(int32_t*)mxGetData(scalar) = value;
    return scalar;
}

static mxArray* single_scalar(float value) {
    mxArray* scalar = mxCreateNumericMatrix(1, 1, mxSINGLE_CLASS, mxREAL);
    *(float*)mxGetData(scalar) = value;
    return scalar;
}

static mxArray* channel_header(const wfconv_channel* channel) {
    static const char* const fields[] = {"start_block", "byte_length", "scale", "offset"};
    mxArray* header = mxCreateStructMatrix(1, 1, 4, (const char**)fields);
    mxSetFieldByNumber(header, 0, 0, int32_scalar(channel->start_block));
    mxSetFieldByNumber(header, 0, 1, int32_scalar(channel->byte_length));
    mxSetFieldByNumber(header, 0, 2, single_scalar(channel->scale));
    mxSetFieldByNumber(header, 0, 3, single_scalar(channel->offset));
    return header;
}

static mxArray* channel_values(const wfconv_channel* channel) {
    mxArray* column = mxCreateNumericMatrix((mwSize)channel->count, 1, mxSINGLE_CLASS, mxREAL);
    if (channel->count != 0) memcpy(mxGetData(column), channel->values, channel->count * sizeof(float));
    return column;
}

static mxArray* waveform_struct(const wfconv_waveform* waveform) {
    static const char* const header_fields[] = {"channel1", "channel2"};
    static const char* const fields[] = {"outcome", "header", "channel1", "channel2", "cut_channel"};
    mxArray* header = mxCreateStructMatrix(1, 1, 2, (const char**)header_fields);
    mxSetFieldByNumber(header, 0, 0, channel_header(&waveform->channel1));
    mxSetFieldByNumber(header, 0, 1, channel_header(&waveform->channel2));
    mxArray* result = mxCreateStructMatrix(1, 1, 5, (const char**)fields);
    mxSetFieldByNumber(result, 0, 0, mxCreateString(wfconv_outcome_name(waveform->outcome)));
    mxSetFieldByNumber(result, 0, 1, header);
    mxSetFieldByNumber(result, 0, 2, channel_values(&waveform->channel1));
    mxSetFieldByNumber(result, 0, 3, channel_values(&waveform->channel2));
    mxSetFieldByNumber(result, 0, 4, mxCreateDoubleScalar(wfconv_cut_channel(waveform)));
    return result;
}

static int is_vector(const mxArray* array) {
    return mxGetNumberOfDimensions(array) == 2 && (mxGetM(array) <= 1 || mxGetN(array) <= 1);
}

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    release_held();
    mexAtExit(release_held);
    if (nrhs != 1 || nlhs > 1) bad_argument("wfconv_read takes one argument and gives one result.");

    const mxArray* source = prhs[0];
    mxArray* converted = NULL;
    if (mxIsClass(source, "string")) {  /* MATLAB's string scalar, as char */
        if (mxGetNumberOfElements(source) != 1) bad_argument("A string path must be a single string.");
        mexCallMATLAB(1, &converted, 1, (mxArray**)&source, "char");
        source = converted;
    }
    const char* name = kContentName;
    if (mxIsChar(source) && is_vector(source)) {
        char* path = path_text(source);  /* mxMalloc'd: freed when the call ends, however it ends */
        if (path == NULL) bad_argument("The path cannot be converted to UTF-8.");
        name = path;
        held = wfconv_read_file(path);
    } else if (mxIsUint8(source) && !mxIsComplex(source) && is_vector(source)) {
        held = wfconv_read_memory(mxGetData(source), mxGetNumberOfElements(source));
    } else {
        bad_argument("The argument must be a path or a uint8 vector.");
    }
    if (held == NULL) mexErrMsgIdAndTxt("wfconv:outOfMemory", "Out of memory reading %s", name);

    /* Every exit from here frees the waveform first: errors and warnings may not return. */
    const wfconv_outcome outcome = held->outcome;
    const int error = held->error;
    if (outcome == WFCONV_COMPLETE || outcome == WFCONV_ENDED_EARLY) plhs[0] = waveform_struct(held);
    release_held();
    switch (outcome) {
        case WFCONV_COMPLETE:
            return;
        case WFCONV_ENDED_EARLY:
            mexWarnMsgIdAndTxt("wfconv:endedEarly", "Unexpected end of %s", name);
            return;
        case WFCONV_CANNOT_OPEN:
            mexErrMsgIdAndTxt("wfconv:cannotOpen", "Cannot open %s: %s", name, strerror(error));
            return;
        default:  /* too short or a read error */
            if (error != 0) mexErrMsgIdAndTxt("wfconv:cannotRead", "Cannot read %s: %s", name, strerror(error));
            mexErrMsgIdAndTxt("wfconv:cannotRead", "Cannot read %s", name);
    }
}
