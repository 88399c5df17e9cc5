% wfconv_read, pkg-installed from the Octave package into WORK/prefix, held for each file the
% command ran on (WORK/files/FILE.out, its output) to the C interface's reading (FILE.c, from
% dump_c_values.py), to the command's channel files and to its last line, from the path and
% from the content.   octave --no-gui --norc --quiet test_wfconv_read.m TARBALL WORK
1;

function text = channel_lines(values)  % %11.4e, or the command's word for what is not finite
  text = '';
  if isempty(values), return; end
  text = reshape(sprintf('%11.4e\r\n', values), 13, []);  % 13 bytes a line, Inf and NaN too
  odd = ~isfinite(values);
  words = [repmat(' ', 4, 7), ['+INF'; '-INF'; '+NAN'; '-NAN']];
  text(1:11, odd) = words(1 + 2 * isnan(values(odd)) + signbit(values(odd)), :)';
  text = text(:)';
end

function [got, problem] = read_bits(varargin)  % the result as bits, classes and shapes; what went wrong
  lastwarn('', '');
  got = {};
  try
    w = wfconv_read(varargin{:});
    h = [w.header.channel1, w.header.channel2];
    bits = @(c) [typecast([c.start_block, c.byte_length], 'uint32'), typecast([c.scale, c.offset], 'uint32')];
    got = {w.outcome, [bits(h(1)), bits(h(2))], typecast(w.channel1, 'uint32')(:)', ...
           typecast(w.channel2, 'uint32')(:)', cellfun(@class, {h.start_block, h.byte_length, h.scale, ...
           h.offset, w.channel1, w.channel2}, 'UniformOutput', false), [columns(w.channel1), columns(w.channel2)]};
    [message, id] = lastwarn();
  catch failure
    [message, id] = deal(failure.message, failure.identifier);
  end
  problem = {id, regexprep(message, '^wfconv_read: ', '')};  % Octave names the function first
end

args = argv();
[tarball, work] = args{1:2};
prefix = make_absolute_filename(fullfile(work, 'prefix'));
mkdir(prefix);
pkg('prefix', fullfile(prefix, 'share'), fullfile(prefix, 'lib'));
pkg('local_list', fullfile(prefix, 'packages'));
pkg('install', '-local', tarball);
pkg('load', 'wfconv');
warning('off', 'backtrace');

failed = {};
ids = struct('complete', '', 'ended_early', 'wfconv:endedEarly', 'cannot_open', 'wfconv:cannotOpen', ...
             'too_short', 'wfconv:cannotRead', 'read_failed', 'wfconv:cannotRead');
types = [repmat({'int32'}, 1, 4), repmat({'single'}, 1, 6)];
runs = dir(fullfile(work, 'files', '*.out'));
for run = runs'
  file = fullfile(work, 'files', run.name(1:end - 4));  % as the command was given it
  c = strsplit(fileread([file '.c']), "\n", 'CollapseDelimiters', false);
  want = {};
  if any(strcmp(c{1}, {'complete', 'ended_early'}))
    want = [c(1), cellfun(@(line) sscanf(line, '%f')(:)', c(3:5), 'UniformOutput', false), {types, [1 1]}];
  end
  want_problem = {ids.(c{1}), ''};
  if ~strcmp(c{1}, 'complete')
    said = strsplit(strtrim(fileread([file '.out'])), "\r\n"){end};
    want_problem{2} = [said, repmat([': ', c{2}], 1, ~strcmp(c{2}, '-'))];
  end
  lines = {'', ''};
  for k = find(arrayfun(@(k) exist(sprintf('%s%d.txt', file, k), 'file'), 1:2))
    lines{k} = fileread(sprintf('%s%d.txt', file, k));
  end
  [got, problem] = read_bits(file);
  if ~isequal(problem, want_problem) || ~isequal(got, want)
    failed{end + 1} = sprintf('%s: %s "%s", not as the C interface and the command', file, problem{:});
  elseif ~isempty(got) && ~isequal(cellfun(@(b) channel_lines(typecast(b, 'single')), got(3:4), 'Uniform', 0), lines)
    failed{end + 1} = sprintf('%s: lines differ from the channel files', file);
  end
  c = fopen(file);
  if c >= 0  % the same from the file's content, called <bytes>
    [got_content, problem] = read_bits(fread(c, Inf, 'uint8=>uint8'));
    fclose(c);
    if ~isequal(got_content, got) || ~isequal(problem, strrep(want_problem, file, '<bytes>'))
      failed{end + 1} = sprintf('%s: from its content %s "%s"', file, problem{:});
    end
  end
end

% None, too many, of the wrong class or shape, a path holding a null character.
wrong = {{}, {'a', 'b'}, {1}, {int8(1:300)}, {uint8([1 2; 3 4])}, {['ab'; 'cd']}, {['a', char(0), 'b']}};
for k = 1:numel(wrong)
  [~, problem] = read_bits(wrong{k}{:});
  if ~strcmp(problem{1}, 'wfconv:badArgument') || isempty(strfind(problem{2}, 'Usage:'))
    failed{end + 1} = sprintf('wrong arguments %d gave %s "%s"', k, problem{:});
  end
end
if isempty(strfind(evalc('help wfconv_read'), 'w = wfconv_read(content)'))
  failed{end + 1} = 'help wfconv_read shows no usage';
end
printf('wfconv_read: %d files, %d failures\n', numel(runs), numel(failed));
cellfun(@(failure) printf('  %s\n', failure), failed);
exit(~isempty(failed));
