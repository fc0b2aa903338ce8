// Reads points, one "latitude longitude" (degrees, north and east positive) a line, on standard
// input and writes, line for line, the tz zones whose boundaries hold each point, comma-separated:
// the timezone-boundary-builder boundaries of every zone of the tz database (its comprehensive
// product) through the npm package geo-tz. A point at sea outside every zone's waters gets the
// "Etc/GMT..." zones of its longitude.
//
//     node tools/atlas/boundary_zones.js <geo-tz package folder> < points > zones
"use strict";
const path = require("path");
const readline = require("readline");

if (process.argv.length !== 3) {
  process.stderr.write("usage: boundary_zones.js <geo-tz package folder>\n");
  process.exit(2);
}
const { find } = require(path.resolve(process.argv[2], "dist", "find-all.js"));

const lines = [];
readline
  .createInterface({ input: process.stdin, crlfDelay: Infinity })
  .on("line", (line) => {
    const [lat, lon] = line.trim().split(/\s+/).map(Number);
    if (!Number.isFinite(lat) || !Number.isFinite(lon)) {
      process.stderr.write(`not a point: "${line}"\n`);
      process.exit(1);
    }
    lines.push(find(lat, lon).join(","));
  })
  .on("close", () => process.stdout.write(lines.length ? lines.join("\n") + "\n" : ""));
