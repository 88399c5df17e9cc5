% SPDX-License-Identifier: MIT
function mex_args = wfconv_mex_arguments(root, compiler)
% WFCONV_MEX_ARGUMENTS  The arguments of mex that build wfconv_read from the source tree at
% ROOT with COMPILER, 'g++' (Linux, MinGW-w64), 'clang++' (Xcode) or 'msvc': the sources and
% the exact-arithmetic flags that src/library.txt names for every build of the library, the
% version that CMakeLists.txt's project() gives. build_wfconv_read runs them.
  list = fileread(fullfile(root, 'src', 'library.txt'));
  entries = @(key) cellfun(@(token) token{1}, ...
    regexp(list, ['^' key ': *(.*?)\s*$'], 'tokens', 'lineanchors', 'dotexceptnewline'), ...
    'UniformOutput', false);
  sources = cellfun(@(source) fullfile(root, source), ...
    [entries('reader'), entries('reader-files'), entries('c_api')], 'UniformOutput', false);
  project_version = regexp(fileread(fullfile(root, 'CMakeLists.txt')), 'project\(wfconv VERSION ([0-9.]+)', 'tokens', 'once');

  if strcmp(compiler, 'msvc')
    exact = entries('exact-msvc');
    flags = {['COMPFLAGS=$COMPFLAGS /std:c++20 ' exact{1}]};
  else
    exact = entries('exact-gnu');
    flags = {['CXXFLAGS=$CXXFLAGS -std=c++20 ' exact{1}]};
    if strcmp(compiler, 'g++')
      % MATLAB brings a C++ runtime of its own, older than C++20 needs: the MEX file takes
      % its own, linked in.
      flags{end + 1} = 'LDFLAGS=$LDFLAGS -static-libstdc++ -static-libgcc';
    end
  end
  % The backslashes keep the quotes through the shell that mex starts the compiler with.
  mex_args = [{'-R2018a', ['-I' fullfile(root, 'include')], ['-I' fullfile(root, 'src')], ...
                ['-DWFCONV_VERSION=\"' project_version{1} '\"'], '-outdir', fullfile(root, 'matlab')}, ...
               flags, {fullfile(root, 'matlab', 'wfconv_read.c')}, sources];
end
