% SPDX-License-Identifier: MIT
function build_wfconv_read()
% BUILD_WFCONV_READ  Builds wfconv_read's MEX file into this folder in MATLAB, from the
% source tree around it, with the C++ compiler that `mex -setup C++` chose: g++ on Linux,
% Microsoft Visual C++ (or MinGW-w64) on Windows, Xcode's clang on macOS. matlab/README.md
% says which releases and compilers.
  root = fileparts(fileparts(mfilename('fullpath')));
  selected = mex.getCompilerConfigurations('C++', 'Selected');
  if isempty(selected)
    error('wfconv:noCompiler', 'No C++ compiler chosen: run mex -setup C++ first');
  end
  if strncmpi(selected.ShortName, 'MSVC', 4)
    compiler = 'msvc';
  elseif ismac
    compiler = 'clang++';
  else
    compiler = 'g++';
  end
  mex_args = wfconv_mex_arguments(root, compiler);
  mex(mex_args{:});
end
