// Country labels of a map: for each country whose name can be written legibly, a box of whole
// interior cells (inside the country, off its borders) shaped like the name.
//
// The boxes are chosen for a nominal view of 1200 x 800 pixels showing the whole map: a name is
// written at the largest height that fits both the box height and, at 0.56 of the height per
// letter, the box width. Names that would be lower than 8 pixels get no label; labels are never
// made higher than 22 pixels.

const VIEW_WIDTH = 1200;
const VIEW_HEIGHT = 800;
const LETTER_WIDTH = 0.56; // average letter width of the text face, in letter heights
const MIN_HEIGHT = 8;
const MAX_HEIGHT = 22;
// A box keeps this far inside its cells (a quarter of a cell, at least 0.02 degrees), so that it
// never touches the cells around it once the loader has cut their corners to hundredths.
const INSET_CELLS = 0.25;
const INSET_DEGREES = 0.02;

// The label box of every country that gets one, as {country, west, north, east, south}, degrees
// rounded to hundredths. `nameOf(country)` gives the label text, or null for none.
export function placeLabels(grid, countries, borders, nameOf) {
  const { box, across, down, cellX, cellY } = grid;
  const pxX = VIEW_WIDTH / across, pxY = VIEW_HEIGHT / down;
  const extents = interiorExtents(grid, countries, borders);
  const labels = [];
  for (const [country, e] of extents) {
    const name = nameOf(country);
    if (!name) continue;
    const best = bestRectangle(grid, countries, borders, country, e, name.length, pxX, pxY);
    if (!best || best.height < MIN_HEIGHT) continue;
    const rows = Math.min(best.rows, Math.ceil(best.height / pxY));
    const cols = Math.min(best.cols, Math.ceil((LETTER_WIDTH * name.length * best.height) / pxX));
    const row = best.row + Math.floor((best.rows - rows) / 2);
    const col = best.col + Math.floor((best.cols - cols) / 2);
    const round = (v) => Math.round(v * 100) / 100;
    const insetX = Math.max(INSET_CELLS * cellX, INSET_DEGREES);
    const insetY = Math.max(INSET_CELLS * cellY, INSET_DEGREES);
    labels.push({
      country,
      name,
      west: round(box.west + col * cellX + insetX),
      east: round(box.west + (col + cols) * cellX - insetX),
      north: round(box.north - row * cellY - insetY),
      south: round(box.north - (row + rows) * cellY + insetY),
    });
  }
  return labels;
}

// Per country with interior cells: the rows and columns they span and their centre.
function interiorExtents(grid, countries, borders) {
  const { across, down } = grid;
  const extents = new Map();
  for (let row = 0; row < down; ++row) {
    for (let col = 0; col < across; ++col) {
      const i = row * across + col;
      if (countries[i] === 0 || borders[i]) continue;
      const country = countries[i] - 1;
      let e = extents.get(country);
      if (!e) {
        e = { row0: row, row1: row, col0: col, col1: col, n: 0, rowSum: 0, colSum: 0 };
        extents.set(country, e);
      }
      e.row1 = row;
      e.col0 = Math.min(e.col0, col);
      e.col1 = Math.max(e.col1, col);
      e.n += 1;
      e.rowSum += row;
      e.colSum += col;
    }
  }
  return [...extents.entries()].sort((a, b) => a[0] - b[0]);
}

// The rectangle of interior cells of `country` in which its name is highest; among equals (to
// half a pixel) the one whose centre lies nearest the centre of the country's cells.
function bestRectangle(grid, countries, borders, country, e, letters, pxX, pxY) {
  const { across } = grid;
  const width = e.col1 - e.col0 + 1;
  const inside = (row, col) => {
    const i = row * across + col;
    return countries[i] === country + 1 && !borders[i];
  };
  // Cells of the country from each cell to the right, row by row.
  const rightRun = new Int32Array((e.row1 - e.row0 + 1) * width);
  for (let row = e.row0; row <= e.row1; ++row) {
    let run = 0;
    for (let col = e.col1; col >= e.col0; --col) {
      run = inside(row, col) ? run + 1 : 0;
      rightRun[(row - e.row0) * width + (col - e.col0)] = run;
    }
  }
  const centreRow = e.rowSum / e.n, centreCol = e.colSum / e.n;
  const maxRows = Math.max(1, Math.ceil(MAX_HEIGHT / pxY));
  // Every rectangle by its top left cell and height, widest for that height.
  const each = (visit) => {
    for (let row = e.row0; row <= e.row1; ++row) {
      for (let col = e.col0; col <= e.col1; ++col) {
        let cols = Infinity;
        for (let rows = 1; rows <= maxRows && row + rows - 1 <= e.row1; ++rows) {
          cols = Math.min(cols, rightRun[(row + rows - 1 - e.row0) * width + (col - e.col0)]);
          if (cols === 0) break;
          visit(row, col, rows, cols,
                Math.min(MAX_HEIGHT, rows * pxY, (cols * pxX) / (LETTER_WIDTH * letters)));
        }
      }
    }
  };
  let highest = 0;
  each((row, col, rows, cols, height) => { highest = Math.max(highest, height); });
  let best = null;
  each((row, col, rows, cols, height) => {
    if (height < highest - 0.5) return;
    const dr = row + rows / 2 - centreRow, dc = col + cols / 2 - centreCol;
    const distance = dr * dr + dc * dc;
    if (!best || distance < best.distance) best = { row, col, rows, cols, height, distance };
  });
  return best;
}
