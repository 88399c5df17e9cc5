// SPDX-License-Identifier: MIT
// The picture of the plot, made on the click.

import { offer } from "./downloads.mjs";
import { area, canvases, shown } from "./page_parts.mjs";

// The plot area as shown, at the device's pixel ratio: its background, the canvases, and
// the text laid over them (the file's name, the titles, the tick labels).
export function savePicture() {
  const ratio = window.devicePixelRatio || 1;
  const box = area.getBoundingClientRect();
  const picture = document.createElement("canvas");
  picture.width = Math.round(box.width * ratio);
  picture.height = Math.round(box.height * ratio);
  const ctx = picture.getContext("2d");
  ctx.fillStyle = getComputedStyle(document.body).backgroundColor;
  ctx.fillRect(0, 0, picture.width, picture.height);
  for (const canvas of canvases) {
    const at = canvas.getBoundingClientRect();
    ctx.drawImage(canvas, Math.round((at.left - box.left) * ratio), Math.round((at.top - box.top) * ratio));
  }
  ctx.textBaseline = "middle";
  for (const element of area.querySelectorAll(".plot-name, .title, .ticks span")) {
    const at = element.getBoundingClientRect(), look = getComputedStyle(element);
    ctx.font = `${look.fontWeight} ${parseFloat(look.fontSize) * ratio}px ${look.fontFamily}`;
    ctx.fillStyle = look.color;
    ctx.fillText(element.textContent, (at.left - box.left) * ratio, (at.top + at.height / 2 - box.top) * ratio);
  }
  picture.toBlob((png) => offer(png, `${shown.name}.png`), "image/png");
}
