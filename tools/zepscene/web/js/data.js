// The recorded run from the page's JSON: bulky arrays come deflated and in
// base64, and the browser inflates them itself (DecompressionStream).
async function unpack(packed, Type) {
  const text = atob(packed.data);
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream("deflate"));
  const buffer = await new Response(stream).arrayBuffer();
  if (buffer.byteLength !== packed.bytes) throw new Error(`inflated ${buffer.byteLength} bytes, expected ${packed.bytes}`);
  return packed.stride === undefined ? new Type(buffer) : new Type(unshuffled(new Uint8Array(buffer), packed.stride).buffer);
}

// Undoes packedFloatsJson: byte planes back into words, then each word
// XORed with the one `stride` before it, front to back.
function unshuffled(planes, stride) {
  const count = planes.length / 4, words = new Uint32Array(count);
  for (let b = 0; b < 4; ++b) {
    const plane = planes.subarray(b * count, (b + 1) * count), shift = 8 * b;
    for (let i = 0; i < count; ++i) words[i] |= plane[i] << shift;
  }
  for (let i = stride; i < count; ++i) words[i] ^= words[i - stride];
  return words;
}

const MOVER_FLOATS = 10; // reached, wanted, radii, ground (-1: no character)
const CONTACT_KINDS = ["unknown", "face", "edge", "corner"];

// Where each (pass, mover)'s contacts start in the contact arrays, which
// hold them mover by mover, and within a mover pass by pass.
function contactStarts(counts, passes, movers) {
  const starts = new Uint32Array(counts.length);
  let at = 0;
  for (let m = 0; m < movers; ++m)
    for (let p = 0; p < passes; ++p) {
      starts[p * movers + m] = at;
      at += counts[p * movers + m];
    }
  return starts;
}

async function loadRun(json) {
  const run = { script: json.script, passes: json.passes, movers: json.movers, notes: json.notes, level: json.level };
  [run.frames, run.counts, run.points, run.normals, run.objects, run.triangles, run.kinds] = await Promise.all([
    unpack(json.frames, Float32Array), unpack(json.contactCounts, Uint32Array),
    unpack(json.contactPoints, Float32Array), unpack(json.contactNormals, Float32Array),
    unpack(json.contactObjects, Int32Array), unpack(json.contactTriangles, Int32Array),
    unpack(json.contactKinds, Uint8Array)]);
  run.starts = contactStarts(run.counts, run.passes.length, run.movers.length);
  run.meshes = await Promise.all(json.meshes.map(async (m) => ({
    object: m.object, full: await unpack(m.full, Float32Array), coarse: await unpack(m.coarse, Float32Array),
    crossedFromBehind: await unpack(m.crossedFromBehind, Float32Array) })));
  return run;
}

// The slot of mover m in pass p (0-based) in run.frames, or -1 if it sat that pass out.
function moverSlot(run, pass, mover) {
  const at = (pass * run.movers.length + mover) * MOVER_FLOATS;
  return Number.isNaN(run.frames[at]) ? -1 : at;
}

// As zepscene heads the pass in its table.
function passHeading(run, pass) {
  const [line, frame, count] = run.passes[pass];
  return frame === 0 ? `pass (line ${line})` : `frame ${frame} of ${count} (line ${line})`;
}
