% SPDX-License-Identifier: MIT
% wfconv_read, pkg-installed from TARBALL into WORK/prefix, held for each file the command ran on
% (WORK/files/FILE.out) to the C interface's reading (FILE.c, tests/front_ends/dump_waveform.c),
% the channel files and the command's last line, from the path and from the content.
% Usage: octave --no-gui --norc --quiet test_wfconv_read.m TARBALL WORK
1;
function text = channel_lines(values)  % %11.4e, or the command's word for what is not finite
  text = sprintf('%11.4e\r\n', values)(1:13 * numel(values));  % Inf and NaN take 13 bytes too
  for k = find(~isfinite(values))
    word = {'+INF', '-INF', '+NAN', '-NAN'}{1 + 2 * isnan(values(k)) + signbit(values(k))};
    text(13 * k - 12:13 * k - 2) = sprintf('%11s', word);
  end
end

function [got, problem] = read_bits(varargin)  % the result as bits, classes and shapes; what went wrong
  lastwarn('', '');
  got = {};
  try
    w = wfconv_read(varargin{:});
    h = [w.header.channel1, w.header.channel2];
    header = [typecast([h.start_block; h.byte_length](:)', 'uint32'); typecast([h.scale; h.offset](:)', 'uint32')];
    got = {w.outcome, header, typecast(w.channel1, 'uint32')(:)', typecast(w.channel2, 'uint32')(:)', ...
           cellfun(@class, {h.start_block, h.scale, w.channel1, w.channel2}, 'Uniform', 0), ...
           [columns(w.channel1), columns(w.channel2)]};
    [message, id] = lastwarn();
  catch failure
    [message, id] = deal(failure.message, failure.identifier);
  end
  problem = {id, regexprep(message, '^wfconv_read: ', '')};  % Octave names the function first
end

[tarball, work] = argv(){:};
prefix = make_absolute_filename([work '/prefix']);
pkg('prefix', prefix, prefix);
pkg('local_list', [prefix '/packages']);
pkg('install', '-local', tarball);
pkg('load', 'wfconv');
warning('off', 'backtrace');
ids = struct('complete', '', 'ended_early', 'wfconv:endedEarly', 'cannot_open', 'wfconv:cannotOpen', ...
             'too_short', 'wfconv:cannotRead', 'read_failed', 'wfconv:cannotRead');
classes = {'int32', 'int32', 'single', 'single', 'single', 'single'};  % start_block, scale, the channels
failed = {};
for run = dir([work '/files/*.out'])'
  file = [work '/files/' run.name(1:end - 4)];  % as the command was given it
  c = strsplit(fileread([file '.c']), "\n", 'CollapseDelimiters', false);  % after the structs' layout
  c = [regexp(c{2}, '^\S+ (\S+) ?(.*)$', 'tokens'){1}, cellfun(@(line) strsplit(line, ' '), c(3:4), 'Uniform', 0)];
  n = cellfun(@(words) sscanf(strjoin(words(6:end), ' '), '%x')(:)', c(3:4), 'Uniform', 0);
  header = [typecast(int32(str2double([c{3}(1:2), c{4}(1:2)])), 'uint32'); hex2dec([c{3}(4:5), c{4}(4:5)])'];
  want = {c{1}, header, n{:}, classes, [1 1]};
  want_problem = {ids.(c{1}), ''};
  if ~any(strcmp(c{1}, {'complete', 'ended_early'})), want = {}; end
  if ~strcmp(c{1}, 'complete')
    said = strsplit(strtrim(fileread([file '.out'])), "\r\n"){end};
    want_problem{2} = [said, repmat([': ', c{2}], 1, ~isempty(c{2}))];
  end
  [got, problem] = read_bits(file);
  lines = {'', ''};
  for k = find(arrayfun(@(k) exist(sprintf('%s%d.txt', file, k), 'file'), 1:2))
    lines{k} = fileread(sprintf('%s%d.txt', file, k));
  end
  if ~isequal(problem, want_problem) || ~isequal(got, want)
    failed{end + 1} = sprintf('%s: %s "%s", not as the C interface and the command', file, problem{:});
  elseif ~isempty(got) && ~isequal(cellfun(@(b) channel_lines(typecast(b, 'single')), got(3:4), 'Uniform', 0), lines)
    failed{end + 1} = sprintf('%s: lines differ from the channel files', file);
  elseif ~strcmp(c{1}, 'cannot_open')  % the same from its content, which messages call <bytes>
    [got_content, problem] = read_bits(fread(fopen(file), Inf, 'uint8=>uint8'));
    if ~isequal({got_content, problem}, {got, strrep(want_problem, file, '<bytes>')})
      failed{end + 1} = sprintf('%s: from its content %s "%s"', file, problem{:});
    end
  end
end
% None, too many, of the wrong class or shape, a path holding a null character.
for wrong = {{}, {'a', 'b'}, {1}, {int8(1:300)}, {uint8([1 2; 3 4])}, {['ab'; 'cd']}, {['a', char(0), 'b']}}
  [~, problem] = read_bits(wrong{1}{:});
  if ~strcmp(problem{1}, 'wfconv:badArgument') || isempty(strfind(problem{2}, 'Usage:'))
    failed{end + 1} = sprintf('wrong arguments gave %s "%s"', problem{:});
  end
end
if isempty(strfind(evalc('help wfconv_read'), 'w = wfconv_read(content)'))
  failed{end + 1} = 'help wfconv_read shows no usage';
end
cellfun(@(failure) printf('  %s\n', failure), failed);
printf('wfconv_read: %d failures\n', numel(failed));
exit(~isempty(failed));
