// Writes the astrocartography maps "<region>.mf1", ".mf2", ".mf3" of the eleven regions and the
// country labels "velm.lnd" from Natural Earth (npm world-atlas, 1:50m countries), with the
// Russian country names of npm i18n-iso-countries.
//
//   cd tools/maps && npm ci
//   node make_maps.mjs ../../data            writes the files
//   node make_maps.mjs --check ../../data    exits 0 when the files there are what it would write,
//                                            1 when not, 77 when the packages are not installed
//
// Each map is a raster of the region box (regions.json), as fine as the file size limits allow:
//   .mf1  46-byte header (int16 0; raster x/y minimum and maximum; west, north, east, south as
//         doubles; int16 0, 0), then the border and coast cells (int16 x, y) each
//   .mf2  sea cells that stand alone in their row (int16 x, y)
//   .mf3  runs of sea cells in a row (int16 x, y, length in cells), at most 180 degrees long
// Land is what the map view paints first; sea and borders are painted over it.
// velm.lnd (code page 1251): per map "#<name> <count>", then "west north east south name" lines.
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { placeLabels } from './labels.mjs';
import {
  fillCountries,
  makeGrid,
  outlineSets,
  prepareLines,
  preparePolygons,
  traceBorders,
} from './raster.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(import.meta.url);

const MAX_BORDER_CELLS = (65534 - 46) / 4; // ".mf1" below 65535 bytes
const MAX_SEA_CELLS = Math.floor(65534 / 4); // ".mf2" below 65535 bytes
const MAX_RUNS = Math.floor(65534 / 6); // ".mf3" at most 65534 bytes
const MAX_RUN_DEGREES = 180; // a run's width in hundredths of a degree stays within int16
const MAX_ACROSS = 32767;

// One-word Russian names where the standard name has several words (or is too long to label).
const ONE_WORD = {
  '156': 'Китай', '643': 'Россия', '408': 'КНДР', '410': 'Корея', '728': 'Ю.Судан',
  '682': 'С.Аравия', '554': 'Н.Зеландия', '598': 'Папуа', '180': 'ДРК', '178': 'Конго',
  '226': 'Экв.Гвинея', '214': 'Доминикана', '626': 'Тимор', '275': 'Палестина',
  '070': 'Босния', '780': 'Тринидад', '807': 'Македония', '090': 'Соломоновы',
  '238': 'Фолкленды', '384': "Кот-д'Ивуар", '840': 'США', '826': 'Великобритания',
  '784': 'ОАЭ', '140': 'ЦАР', '710': 'ЮАР', '732': 'З.Сахара', '304': 'Гренландия',
  '260': 'Кергелен', '239': 'Ю.Георгия', '036': 'Австралия', '010': 'Антарктида',
  '584': 'Маршалловы', '580': 'Марианские', '850': 'Виргинские', '092': 'Виргинские',
  '136': 'Кайман', '796': 'Теркс', '833': 'Мэн', '248': 'Аланды', '654': 'Св.Елена',
  '612': 'Питкэрн', '086': 'Чагос', '016': 'Самоа', '882': 'Самоа', '678': 'Сан-Томе',
  '670': 'Сент-Винсент', '659': 'Сент-Китс', '666': 'Сен-Пьер', '876': 'Уоллис',
  '258': 'Полинезия', '540': 'Каледония', '028': 'Антигуа', '334': 'Херд', '574': 'Норфолк',
  '184': 'Кука', '690': 'Сейшелы', '144': 'Шри-Ланка', '624': 'Гвинея-Бисау',
};
// Natural Earth units without an ISO number.
const WITHOUT_NUMBER = { Kosovo: 'Косово', Somaliland: 'Сомалиленд' };

// Code page 1251 bytes of a Russian or Latin text.
function cp1251(text) {
  const bytes = [];
  for (const ch of text) {
    const c = ch.codePointAt(0);
    if (c < 0x80) bytes.push(c);
    else if (c >= 0x410 && c <= 0x44f) bytes.push(c - 0x410 + 0xc0);
    else if (c === 0x401) bytes.push(0xa8);
    else if (c === 0x451) bytes.push(0xb8);
    else throw new Error(`no code page 1251 letter for "${ch}" in "${text}"`);
  }
  return Buffer.from(bytes);
}

function loadSources() {
  const topology = require('world-atlas/countries-50m.json');
  const topojson = require('topojson-client');
  const names = require('i18n-iso-countries');
  names.registerLocale(require('i18n-iso-countries/langs/ru.json'));
  const features = topojson.feature(topology, topology.objects.countries).features;
  const lines = topojson.mesh(topology, topology.objects.countries).coordinates;
  const nameOf = (country) => {
    const f = features[country];
    if (f.id === undefined) return WITHOUT_NUMBER[f.properties.name] ?? null;
    const name = ONE_WORD[f.id] ?? names.getName(f.id, 'ru');
    if (!name) return null;
    if (/\s/.test(name)) throw new Error(`"${name}" (${f.id}) needs a one-word name`);
    return name;
  };
  return { polygons: preparePolygons(features), lines: prepareLines(lines), nameOf };
}

// The raster of a region at `across` cells from west to east, square cells as near as whole
// rows allow.
function rasterise(region, across, sources) {
  const down = Math.max(1, Math.round((across * (region.north - region.south)) /
                                      (region.east - region.west)));
  const grid = makeGrid(region, across, down);
  const countries = fillCountries(grid, sources.polygons);
  const borders = traceBorders(grid, sources.lines);
  const maxRun = Math.max(2, Math.floor(MAX_RUN_DEGREES / grid.cellX));
  const sets = outlineSets(grid, countries, borders, maxRun);
  const fits = sets.border.length <= MAX_BORDER_CELLS && sets.single.length <= MAX_SEA_CELLS &&
               sets.runs.length <= MAX_RUNS;
  return { grid, countries, borders, sets, fits };
}

// The finest raster whose three files keep within their size limits.
function finestRaster(region, sources) {
  let low = 16, high = 4096;
  let best = rasterise(region, low, sources);
  if (!best.fits) throw new Error(`${region.name}: even ${low} cells across are too many`);
  while (high - low > 1) {
    const middle = (low + high) >> 1;
    const r = rasterise(region, middle, sources);
    if (r.fits) {
      low = middle;
      best = r;
    } else {
      high = middle;
    }
  }
  return best;
}

function mf1(region, grid, border) {
  const b = Buffer.alloc(46 + 4 * border.length);
  b.writeInt16LE(0, 0);
  b.writeInt16LE(0, 2);
  b.writeInt16LE(0, 4);
  b.writeInt16LE(grid.across - 1, 6);
  b.writeInt16LE(grid.down - 1, 8);
  b.writeDoubleLE(region.west, 10);
  b.writeDoubleLE(region.north, 18);
  b.writeDoubleLE(region.east, 26);
  b.writeDoubleLE(region.south, 34);
  b.writeInt16LE(0, 42);
  b.writeInt16LE(0, 44);
  border.forEach(([x, y], i) => {
    b.writeInt16LE(x, 46 + 4 * i);
    b.writeInt16LE(y, 48 + 4 * i);
  });
  return b;
}

function mf2(single) {
  const b = Buffer.alloc(4 * single.length);
  single.forEach(([x, y], i) => {
    b.writeInt16LE(x, 4 * i);
    b.writeInt16LE(y, 4 * i + 2);
  });
  return b;
}

function mf3(runs) {
  const b = Buffer.alloc(6 * runs.length);
  runs.forEach(([x, y, length], i) => {
    b.writeInt16LE(x, 6 * i);
    b.writeInt16LE(y, 6 * i + 2);
    b.writeInt16LE(length, 6 * i + 4);
  });
  return b;
}

function lndBlock(region, labels) {
  const ordered = [...labels].sort((a, b) => (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
  const lines = [`#${region.name} ${ordered.length}`];
  for (const l of ordered) {
    const line = [l.west, l.north, l.east, l.south].map((v) => v.toFixed(2)).join(' ');
    lines.push(`${line} ${l.name}`);
  }
  for (const line of lines) if (line.length > 79) throw new Error(`line too long: ${line}`);
  return lines;
}

function makeFiles(regions, sources) {
  const files = new Map();
  const lnd = ['Country labels of the astrocartography maps: west north east south name'];
  for (const region of regions) {
    const r = finestRaster(region, sources);
    if (r.grid.across > MAX_ACROSS || r.grid.down > MAX_ACROSS) throw new Error('raster too big');
    files.set(`${region.name}.mf1`, mf1(region, r.grid, r.sets.border));
    files.set(`${region.name}.mf2`, mf2(r.sets.single));
    files.set(`${region.name}.mf3`, mf3(r.sets.runs));
    const labels = placeLabels(r.grid, r.countries, r.borders, sources.nameOf);
    lnd.push(...lndBlock(region, labels));
    console.error(
      `${region.name}: ${r.grid.across} x ${r.grid.down} cells of ` +
        `${r.grid.cellX.toFixed(3)} x ${r.grid.cellY.toFixed(3)} degrees, ` +
        `${r.sets.border.length} border cells, ${r.sets.single.length} sea cells, ` +
        `${r.sets.runs.length} sea runs, ${labels.length} labels`);
  }
  files.set('velm.lnd', cp1251(lnd.join('\r\n') + '\r\n'));
  return files;
}

function main(args) {
  const check = args[0] === '--check';
  const folder = check ? args[1] : args[0];
  if (!folder) {
    console.error('usage: node make_maps.mjs [--check] <data folder>');
    return 2;
  }
  let sources;
  try {
    sources = loadSources();
  } catch (e) {
    if (e.code !== 'MODULE_NOT_FOUND') throw e;
    console.error('the packages are not installed: run "npm ci" in tools/maps');
    return 77;
  }
  const regions = JSON.parse(readFileSync(join(here, 'regions.json'), 'utf8')).regions;
  const files = makeFiles(regions, sources);
  let differ = 0;
  for (const [name, bytes] of files) {
    const path = join(folder, name);
    if (!check) {
      writeFileSync(path, bytes);
      continue;
    }
    let old = null;
    try {
      old = readFileSync(path);
    } catch {
      old = null;
    }
    if (!old || !old.equals(bytes)) {
      console.error(`${name} differs from what the generator writes`);
      ++differ;
    }
  }
  return differ ? 1 : 0;
}

process.exitCode = main(process.argv.slice(2));
