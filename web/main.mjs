// SPDX-License-Identifier: MIT
// The page's script: hands a chosen file to the module (the library and the command's
// text, compiled from src/), shows what it gives back, plots the values it holds and
// makes a channel file's text, in pieces, only when it is asked for. Here its modules
// are wired to the page's controls.

import { save, saveCsv } from "./downloads.mjs";
import { $, rows } from "./page_parts.mjs";
import { savePicture } from "./picture.mjs";
import { show } from "./show_file.mjs";
import { listenToView } from "./view_keys.mjs";

listenToView();
rows.forEach((row, i) => row.querySelector("button").addEventListener("click", () => save(i + 1)));
$("[data-testid=save-png]").addEventListener("click", savePicture);
$("[data-testid=save-csv]").addEventListener("click", saveCsv);

// Choosing a file: the button or a drop anywhere on the page.
const input = $("input[type=file]");
// Cleared once taken, so that choosing the same file again (rewritten, say) shows it again.
input.addEventListener("change", () => {
  if (!input.files.length) return;
  const file = input.files[0];
  input.value = "";
  show(file);
});
document.addEventListener("dragover", (event) => { event.preventDefault(); document.body.classList.add("dragging"); });
document.addEventListener("dragleave", () => document.body.classList.remove("dragging"));
document.addEventListener("drop", (event) => {
  event.preventDefault();
  document.body.classList.remove("dragging");
  if (event.dataTransfer.files.length) show(event.dataTransfer.files[0]);
});
