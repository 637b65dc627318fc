// The recorded run from the page's JSON: bulky arrays come deflated and in
// base64, and the browser inflates them itself (DecompressionStream).
async function unpack(packed, Type) {
  const text = atob(packed.data);
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream("deflate"));
  const buffer = await new Response(stream).arrayBuffer();
  if (buffer.byteLength !== packed.bytes) throw new Error(`inflated ${buffer.byteLength} bytes, expected ${packed.bytes}`);
  return new Type(buffer);
}

const MOVER_FLOATS = 9; // reached, wanted, radii
const CONTACT_KINDS = ["unknown", "face", "edge", "corner"];

// Where each (pass, mover)'s contacts start in the contact arrays.
function contactStarts(counts) {
  const starts = new Uint32Array(counts.length + 1);
  for (let i = 0; i < counts.length; ++i) starts[i + 1] = starts[i] + counts[i];
  return starts;
}

async function loadRun(json) {
  const run = { script: json.script, passes: json.passes, movers: json.movers, notes: json.notes, level: json.level };
  [run.frames, run.counts, run.points, run.normals, run.objects, run.triangles, run.kinds] = await Promise.all([
    unpack(json.frames, Float32Array), unpack(json.contactCounts, Uint32Array),
    unpack(json.contactPoints, Float32Array), unpack(json.contactNormals, Float32Array),
    unpack(json.contactObjects, Int32Array), unpack(json.contactTriangles, Int32Array),
    unpack(json.contactKinds, Uint8Array)]);
  run.starts = contactStarts(run.counts);
  run.meshes = await Promise.all(json.meshes.map(async (m) => ({
    object: m.object, full: await unpack(m.full, Float32Array), coarse: await unpack(m.coarse, Float32Array) })));
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
