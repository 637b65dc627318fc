// Writes a big scene for trying zepscene's page at scale: a rolling height
// field of 2 x CELLS x CELLS triangles (crowd.obj) and MOVERS walkers going
// round in circles on it for FRAMES passes (crowd.zep).
//   node tools/crowd-scene.mjs CELLS MOVERS FRAMES OUT_DIR
// e.g. 224 200 2000 (10^5 triangles) or 708 200 100 (10^6 triangles).
import { mkdirSync, writeFileSync, createWriteStream } from "node:fs";
import { join } from "node:path";

const [cells, movers, frames] = process.argv.slice(2, 5).map(Number);
const out = process.argv[5];
const height = (x, z) => 1.5 * Math.sin(x * 0.21) * Math.cos(z * 0.17);
const radii = [0.4, 0.9, 0.4];

// Corners wound counter-clockwise seen from above, so the floor faces up.
function writeLevel(file) {
  const lines = [];
  const half = cells / 2;
  for (let i = 0; i <= cells; ++i)
    for (let j = 0; j <= cells; ++j) lines.push(`v ${i - half} ${height(i - half, j - half).toFixed(4)} ${j - half}`);
  const at = (i, j) => i * (cells + 1) + j + 1;
  for (let i = 0; i < cells; ++i)
    for (let j = 0; j < cells; ++j) {
      lines.push(`f ${at(i, j)} ${at(i, j + 1)} ${at(i + 1, j + 1)}`);
      lines.push(`f ${at(i, j)} ${at(i + 1, j + 1)} ${at(i + 1, j)}`);
    }
  writeFileSync(file, lines.join("\n") + "\n");
}

// Walker k's place at frame f: on a circle of its own, its feet a little below the ground.
function place(k, f) {
  const columns = Math.ceil(Math.sqrt(movers));
  const spacing = Math.min(12, (cells - 20) / columns);
  const cx = ((k % columns) - columns / 2) * spacing, cz = (Math.floor(k / columns) - columns / 2) * spacing;
  const angle = f * 0.01 + k, r = spacing * 0.3;
  const x = cx + r * Math.cos(angle), z = cz + r * Math.sin(angle);
  return [x, height(x, z) + radii[1] - 0.25, z].map((v) => v.toFixed(4)).join(" ");
}

function writeScript(file) {
  const script = createWriteStream(file);
  script.write(`# ${movers} walkers on a height field of ${2 * cells * cells} triangles, ${frames} passes\n`);
  script.write("StartCollisionZEP\nSetCollisionZEP 1 2\nNewCollObjZEP 5000 2\nAddObjShapeZEP 5000 2\n");
  script.write("mesh 5000 crowd.obj\nUpdateObjZEP 5000 0 0 0\nActivateObjZEP 5000\n");
  for (let k = 1; k <= movers; ++k)
    script.write(`NewCollObjZEP ${k} 1\nAddObjShapeZEP ${k} 1\nSetObjRadiusZEP ${k} ${radii.join(" ")}\n` +
      `UpdateObjZEP ${k} ${place(k, 0)}\nUpdateObjZEP ${k} ${place(k, 0)}\nActivateObjZEP ${k}\n`);
  for (let f = 1; f <= frames; ++f) {
    let lines = "";
    for (let k = 1; k <= movers; ++k) lines += `UpdateObjZEP ${k} ${place(k, f)}\n`;
    script.write(lines + "RunCollisionZEP\n");
  }
  script.end();
}

mkdirSync(out, { recursive: true });
writeLevel(join(out, "crowd.obj"));
writeScript(join(out, "crowd.zep"));
