// SPDX-License-Identifier: MIT
#pragma once

namespace wfconv {

// Whether standard error goes to a terminal, where a line may rewrite itself.
bool stderr_is_terminal();

}  // namespace wfconv
