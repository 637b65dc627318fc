// The pass tables zepscene prints, read back: per pass its heading and each
// mover's "at" and "wanted" text.
const HEADING = /^(pass \(line \d+\)|frame \d+ of \d+ \(line \d+\))$/;
const MOVER = /^  mover (\d+)  at (\([^)]*\))\s+wanted (\([^)]*\))/;

export function readPassTables(stdout) {
  const passes = [];
  for (const line of stdout.split("\n")) {
    if (HEADING.test(line)) passes.push({ heading: line, movers: new Map() });
    const mover = MOVER.exec(line);
    if (mover && passes.length) passes.at(-1).movers.set(Number(mover[1]), { at: mover[2], wanted: mover[3] });
  }
  return passes;
}
