% wfconv_read, installed by pkg from the Octave package into WORK/prefix, held for each
% WORK/files/FILE.out (the command's output for FILE) to what the C interface read from
% FILE (dump_c_values.py), to the command's channel files and to its message.
%
%   octave --no-gui --norc --no-history --quiet test_wfconv_read.m TARBALL WORK
1;

function text = channel_lines(values)  % the channel file's lines: %11.4e, or a word for the rest
  values = double(values(:)');
  text = '';
  if isempty(values), return; end  % sprintf would print the format once without a value
  text = reshape(sprintf('%11.4e\r\n', values), 13, []);  % 13 bytes a line, Inf and NaN too
  odd = ~isfinite(values);
  words = [repmat(' ', 4, 7), ['+INF'; '-INF'; '+NAN'; '-NAN']];
  text(1:11, odd) = words(1 + 2 * isnan(values(odd)) + signbit(values(odd)), :)';
  text = text(:)';
end

function got = fields_of(w)  % everything wfconv_read gave, as bits, classes and shapes
  h = [w.header.channel1, w.header.channel2];
  got = {w.outcome, [h.start_block; h.byte_length], typecast([h.scale; h.offset], 'uint32'), ...
         typecast(w.channel1, 'uint32'), typecast(w.channel2, 'uint32'), ...
         cellfun(@class, {h(1).start_block, h(2).byte_length, h(1).scale, h(2).offset, w.channel1, w.channel2}, ...
                 'UniformOutput', false), [size(w.channel1, 2), size(w.channel2, 2)]};
end

function [got, problem] = outcome_of(source)  % the fields, or the error's or warning's identifier and message
  lastwarn('', '');
  got = {};
  try
    got = fields_of(wfconv_read(source));
    [message, id] = lastwarn();
  catch failure
    [message, id] = deal(failure.message, failure.identifier);
  end
  problem = {id, regexprep(message, '^wfconv_read: ', '')};  % Octave names the function first
end

warning('off', 'backtrace');  % each ended file's warning on one line of the log
args = argv();
[tarball, work] = args{1:2};
prefix = make_absolute_filename(fullfile(work, 'prefix'));
mkdir(prefix);
pkg('prefix', fullfile(prefix, 'share'), fullfile(prefix, 'lib'));
pkg('local_list', fullfile(prefix, 'packages'));
pkg('install', '-local', tarball);
pkg('load', 'wfconv');

failed = {};
runs = dir(fullfile(work, 'files', '*.out'));
identifiers = struct('complete', '', 'ended_early', 'wfconv:endedEarly', 'cannot_open', 'wfconv:cannotOpen', ...
                     'too_short', 'wfconv:cannotRead', 'read_failed', 'wfconv:cannotRead');
for run = runs'
  file = fullfile(work, 'files', run.name(1:end - 4));  % as the command was given it
  dump = strsplit(fileread([file '.c.txt']), "\n");
  [outcome, reason, fields] = deal(dump{1}, dump{2}, sscanf(dump{3}, '%f'));
  said = strsplit(strtrim(fileread([file '.out'])), "\r\n"){end};  % the command's last line
  message = '';
  if ~strcmp(outcome, 'complete')
    message = [said, repmat([': ', reason], 1, ~strcmp(reason, '-'))];
  end
  want_problem = {identifiers.(outcome), message};
  want = {};
  if any(strcmp(outcome, {'complete', 'ended_early'}))
    values = cell(1, 2);
    for k = 1:2
      c = fopen(sprintf('%s.c%d', file, k));
      values{k} = typecast(fread(c, Inf, 'float32=>single'), 'uint32');
      fclose(c);
      text{k} = '';
      if exist(sprintf('%s%d.txt', file, k), 'file')
        text{k} = fileread(sprintf('%s%d.txt', file, k));
      end
    end
    want = {outcome, int32(reshape(fields([1 2 5 6]), 2, 2)), uint32(fields([3 4 7 8])), ...
            values{:}, {'int32', 'int32', 'single', 'single', 'single', 'single'}, [1 1]};
  end
  [got, problem] = outcome_of(file);
  if ~isequal(problem, want_problem)
    failed{end + 1} = sprintf('%s: read as %s, %s "%s"', file, outcome, problem{:});
  elseif ~isequal(got, want)
    failed{end + 1} = sprintf('%s: differs from the C interface''s reading', file);
  elseif ~isempty(got) && ~isequal(cellfun(@(bits) channel_lines(typecast(bits, 'single')), got(4:5), 'UniformOutput', false), text)
    failed{end + 1} = sprintf('%s: lines differ from the channel files', file);
  end
  if ~strcmp(outcome, 'cannot_open')  % the same from the file's content
    c = fopen(file);
    content = fread(c, Inf, 'uint8=>uint8');
    fclose(c);
    [got_content, problem] = outcome_of(content);
    want_problem{2} = strrep(want_problem{2}, file, '<bytes>');
    if ~isequal(got_content, got) || ~isequal(problem, want_problem)
      failed{end + 1} = sprintf('%s: read from its content as %s, %s "%s"', file, outcome, problem{:});
    end
  end
  if strcmp(outcome, 'ended_early')  % a user may make the warning an error
    warning('error', 'wfconv:endedEarly');
    [~, problem] = outcome_of(file);
    warning('on', 'wfconv:endedEarly');
    if ~strcmp(problem{1}, 'wfconv:endedEarly')
      failed{end + 1} = sprintf('%s: warning made an error gave %s', file, problem{1});
    end
  end
end

% Wrong arguments: none, too many, of the wrong class or shape, a path holding a null.
wrong = {{}, {'a', 'b'}, {1}, {int8(1:300)}, {uint8([1 2; 3 4])}, {['ab'; 'cd']}, {['a', char(0), 'b']}};
for k = 1:numel(wrong)
  try
    wfconv_read(wrong{k}{:});
    failed{end + 1} = sprintf('wrong arguments %d were taken', k);
  catch failure
    if ~strcmp(failure.identifier, 'wfconv:badArgument') || isempty(strfind(failure.message, 'Usage:'))
      failed{end + 1} = sprintf('bad arguments gave %s "%s"', failure.identifier, failure.message);
    end
  end
end
if isempty(strfind(evalc('help wfconv_read'), 'w = wfconv_read(content)'))
  failed{end + 1} = 'help wfconv_read shows no usage';
end

printf('wfconv_read: %d files, %d failures\n', numel(runs), numel(failed));
if ~isempty(failed), printf('  %s\n', failed{:}); end
exit(~isempty(failed));
