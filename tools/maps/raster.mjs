// Rasterises Natural Earth country polygons and their boundary lines onto the cell grid of one
// map box (plate carrée: cells of equal degrees, row 0 at the north edge).
//
// A cell belongs to a country when its centre lies inside one of the country's polygons (even-odd
// rule per polygon); a cell is a border cell when a country boundary or a coast passes through
// it. Rings that cross the antimeridian are made continuous and drawn again 360 degrees away, so
// a box that ends at 180 degrees gets both sides of Chukotka or Fiji.

// Longitudes made continuous: a step of more than 180 degrees is taken the short way round.
export function unwrap(points) {
  const out = [];
  let shift = 0;
  for (let i = 0; i < points.length; ++i) {
    const [lon, lat] = points[i];
    if (i > 0) {
      const step = lon + shift - out[i - 1][0];
      if (step > 180) shift -= 360;
      else if (step < -180) shift += 360;
    }
    out.push([lon + shift, lat]);
  }
  return out;
}

function bounds(points) {
  let west = Infinity, east = -Infinity, south = Infinity, north = -Infinity;
  for (const [lon, lat] of points) {
    west = Math.min(west, lon);
    east = Math.max(east, lon);
    south = Math.min(south, lat);
    north = Math.max(north, lat);
  }
  return { west, east, south, north };
}

// The shifts (-360, 0, 360) at which a shape with bounds `b` meets the box.
function shiftsInto(b, box) {
  const shifts = [];
  for (const s of [-360, 0, 360])
    if (b.west + s < box.east && b.east + s > box.west && b.south < box.north && b.north > box.south)
      shifts.push(s);
  return shifts;
}

// The grid of a box: `across` x `down` cells.
export function makeGrid(box, across, down) {
  return {
    box,
    across,
    down,
    cellX: (box.east - box.west) / across,
    cellY: (box.north - box.south) / down,
  };
}

// Polygons of all countries, prepared once: per polygon its unwrapped rings and bounds.
// A ring that winds round a pole (Antarctica) cannot be filled on the plane; it is kept out and
// no box may reach it.
export function preparePolygons(features) {
  const polygons = [];
  let polar = null;
  features.forEach((feature, country) => {
    const g = feature.geometry;
    if (!g) return;
    const list = g.type === 'Polygon' ? [g.coordinates] : g.coordinates;
    for (const rings of list) {
      const unwrapped = rings.map(unwrap);
      const winds = unwrapped.some((r) => Math.abs(r[r.length - 1][0] - r[0][0]) > 180);
      const b = bounds(unwrapped.flat());
      if (winds) {
        polar = Math.max(polar ?? -90, b.north);
        continue;
      }
      polygons.push({ country, rings: unwrapped, bounds: b });
    }
  });
  return { polygons, polarNorth: polar ?? -90 };
}

// Country number + 1 of each cell (0 = sea), row by row.
export function fillCountries(grid, prepared) {
  const { box, across, down, cellX, cellY } = grid;
  if (prepared.polarNorth > box.south)
    throw new Error(`the box reaches a polar polygon (north edge ${prepared.polarNorth})`);
  const cells = new Int16Array(across * down);
  for (const polygon of prepared.polygons) {
    for (const shift of shiftsInto(polygon.bounds, box)) {
      const rowFirst = Math.max(0, Math.floor((box.north - polygon.bounds.north) / cellY));
      const rowLast = Math.min(down - 1, Math.ceil((box.north - polygon.bounds.south) / cellY));
      for (let row = rowFirst; row <= rowLast; ++row) {
        const lat = box.north - (row + 0.5) * cellY;
        const xs = [];
        for (const ring of polygon.rings) {
          for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
            const [lon1, lat1] = ring[j];
            const [lon2, lat2] = ring[i];
            if (lat1 <= lat === lat2 <= lat) continue;
            xs.push(lon1 + ((lat - lat1) / (lat2 - lat1)) * (lon2 - lon1) + shift);
          }
        }
        xs.sort((a, b) => a - b);
        for (let k = 0; k + 1 < xs.length; k += 2) {
          const first = Math.max(0, Math.ceil((xs[k] - box.west) / cellX - 0.5));
          const end = Math.min(across, Math.ceil((xs[k + 1] - box.west) / cellX - 0.5));
          for (let col = first; col < end; ++col) cells[row * across + col] = polygon.country + 1;
        }
      }
    }
  }
  return cells;
}

// Boundary lines (country borders and coasts), prepared once: unwrapped, without the cuts that
// Natural Earth makes along the antimeridian.
export function prepareLines(lines) {
  const out = [];
  for (const line of lines) {
    let piece = [];
    const flush = () => {
      if (piece.length > 1) out.push({ points: unwrap(piece), bounds: bounds(unwrap(piece)) });
      piece = [];
    };
    for (let i = 0; i < line.length; ++i) {
      const onCut =
        i > 0 && Math.abs(line[i][0]) === 180 && Math.abs(line[i - 1][0]) === 180;
      if (onCut) flush();
      piece.push(line[i]);
    }
    flush();
  }
  return out;
}

// 1 for every cell that a boundary line passes through.
export function traceBorders(grid, lines) {
  const { box, across, down, cellX, cellY } = grid;
  const cells = new Uint8Array(across * down);
  const mark = (col, row) => {
    if (col >= 0 && col < across && row >= 0 && row < down) cells[row * across + col] = 1;
  };
  for (const line of lines) {
    for (const shift of shiftsInto(line.bounds, box)) {
      for (let i = 1; i < line.points.length; ++i) {
        const u1 = (line.points[i - 1][0] + shift - box.west) / cellX;
        const v1 = (box.north - line.points[i - 1][1]) / cellY;
        const u2 = (line.points[i][0] + shift - box.west) / cellX;
        const v2 = (box.north - line.points[i][1]) / cellY;
        walkCells(u1, v1, u2, v2, mark);
      }
    }
  }
  return cells;
}

// Every cell that the segment from (u1, v1) to (u2, v2) passes through, in grid units.
function walkCells(u1, v1, u2, v2, visit) {
  let col = Math.floor(u1), row = Math.floor(v1);
  const endCol = Math.floor(u2), endRow = Math.floor(v2);
  const du = u2 - u1, dv = v2 - v1;
  const stepCol = du > 0 ? 1 : -1, stepRow = dv > 0 ? 1 : -1;
  const tDeltaU = du !== 0 ? Math.abs(1 / du) : Infinity;
  const tDeltaV = dv !== 0 ? Math.abs(1 / dv) : Infinity;
  let tMaxU = du !== 0 ? (du > 0 ? col + 1 - u1 : u1 - col) * tDeltaU : Infinity;
  let tMaxV = dv !== 0 ? (dv > 0 ? row + 1 - v1 : v1 - row) * tDeltaV : Infinity;
  visit(col, row);
  const steps = Math.abs(endCol - col) + Math.abs(endRow - row);
  for (let n = 0; n < steps; ++n) {
    if (tMaxU < tMaxV) {
      col += stepCol;
      tMaxU += tDeltaU;
    } else {
      row += stepRow;
      tMaxV += tDeltaV;
    }
    visit(col, row);
  }
}

// The three outline sets of a map from its country and border cells: border cells; sea cells that
// stand alone in their row; runs of at least two sea cells (start and length), no run longer
// than `maxRun` cells.
export function outlineSets(grid, countries, borders, maxRun) {
  const { across, down } = grid;
  const border = [], single = [], runs = [];
  for (let row = 0; row < down; ++row) {
    let start = -1;
    for (let col = 0; col <= across; ++col) {
      const i = row * across + col;
      const sea = col < across && countries[i] === 0 && borders[i] === 0;
      if (col < across && borders[i]) border.push([col, row]);
      if (sea && start < 0) start = col;
      if (!sea && start >= 0) {
        for (let s = start; s < col; s += maxRun) {
          const length = Math.min(maxRun, col - s);
          if (length === 1) single.push([s, row]);
          else runs.push([s, row, length]);
        }
        start = -1;
      }
    }
  }
  return { border, single, runs };
}
