% WFCONV_READ  Read a waveform file into exactly the values the wfconv command writes.
%
%   w = wfconv_read(path)     reads the file at path (a char vector or a string).
%   w = wfconv_read(content)  reads a file's content held in a uint8 vector.
%
%   w.outcome          'complete', or 'ended_early' when the file ended before a sample
%                      that a channel needs (see below)
%   w.header.channel1  the header's fields of channel 1: start_block and byte_length
%                      (int32), scale and offset (single); w.header.channel2 likewise
%   w.channel1         channel 1's values, a single column vector holding bit for bit
%                      what wfconv writes to PATH1.txt; w.channel2 likewise (PATH2.txt)
%   w.cut_channel      the channel that ended early, 1 or 2; 0 when none did
%
%   A file that ends early gives the samples that arrived (channel 2 empty when channel 1
%   was cut) and the warning wfconv:endedEarly; warning('error', 'wfconv:endedEarly') turns
%   it into an error, warning('off', 'wfconv:endedEarly') silences it.
%
%   Errors: wfconv:cannotOpen (the file cannot be opened; the message says why),
%   wfconv:cannotRead (shorter than one 256-byte header block, or a read failed),
%   wfconv:badArgument. Messages call content given as uint8 <bytes>.
%
%   Example:
%     w = wfconv_read('examples/sine_square.wfm');
%     plot(w.channel1)

% SPDX-License-Identifier: MIT
% The function itself is the MEX file beside this one, built from wfconv_read.c.
error('wfconv:notBuilt', 'wfconv_read is a MEX file: build it from wfconv_read.c (see the README).');
