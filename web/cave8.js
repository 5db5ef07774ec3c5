// cave8.js: rewrites a 24-bit BMP of few colours (a cave has three) as an 8-bit BMP with a
// palette of exactly those colours, for the browser's data file: a third of the bytes to
// unpack before the title, and SDL converts it back to the same 24-bit pixels at load.
// Usage: node web/cave8.js IN.bmp OUT.bmp
'use strict';
const fs = require('fs');

const [input, output] = process.argv.slice(2);
const b = fs.readFileSync(input);
const start = b.readUInt32LE(10), width = b.readInt32LE(18), height = b.readInt32LE(22);
if (b.readUInt16LE(28) !== 24 || b.readUInt32LE(30) !== 0) throw new Error(`${input}: not an uncompressed 24-bit BMP`);
const inStride = (width * 3 + 3) & ~3, outStride = (width + 3) & ~3;

const colours = new Map();  // 0xRRGGBB -> palette index
const indices = Buffer.alloc(outStride * Math.abs(height));
for (let row = 0; row < Math.abs(height); ++row) {  // rows stay in the file's order
  for (let x = 0; x < width; ++x) {
    const i = start + row * inStride + x * 3;
    const rgb = b[i + 2] << 16 | b[i + 1] << 8 | b[i];
    if (!colours.has(rgb)) colours.set(rgb, colours.size);
    indices[row * outStride + x] = colours.get(rgb);
  }
}
if (colours.size > 256) throw new Error(`${input}: ${colours.size} colours, more than a palette holds`);

const HEADERS = 14 + 40, paletteSize = colours.size * 4;
const head = Buffer.alloc(HEADERS + paletteSize);
head.write('BM', 0);
head.writeUInt32LE(HEADERS + paletteSize + indices.length, 2);
head.writeUInt32LE(HEADERS + paletteSize, 10);
head.writeUInt32LE(40, 14);
head.writeInt32LE(width, 18);
head.writeInt32LE(height, 22);
head.writeUInt16LE(1, 26);  // planes
head.writeUInt16LE(8, 28);  // bits a pixel
head.writeUInt32LE(indices.length, 34);
head.writeUInt32LE(colours.size, 46);  // colours used
for (const [rgb, index] of colours) head.writeUInt32LE(rgb, HEADERS + index * 4);  // B G R 0
fs.writeFileSync(output, Buffer.concat([head, indices]));
