// The meshes: front faces shaded by how steep they are (the same classes as
// the SVG picture). A back face is the side the library never meets a
// triangle from, and also the outside of every sound room, so back faces
// are drawn faint: a room seen from outside reads as a room. Hatched in
// magenta are only the triangles a mover went through from behind (zepscene
// finds them in the run), the sign of a floor wound the wrong way; the
// "every back face" switch hatches them all. The hatch leaves every other
// stripe open, so the near walls of a closed room do not hide the inside.
// A triangle's front is the side of cross(c2 - c1, c3 - c1).
const SURFACE_COLOURS = [
  ["floor (faces up)", "#cfe3c0"], ["slope", "#f1d48f"],
  ["wall (faces sideways)", "#8796a5"], ["underside (faces down)", "#e8b4b4"]];

function surfaceIndex(ny) {
  if (ny >= 0.985) return 0;
  if (ny > 0.15) return 1;
  if (ny >= -0.15) return 2;
  return 3;
}

// Per-vertex colours from each triangle's front normal.
function surfaceColours(corners) {
  const palette = SURFACE_COLOURS.map(([, hex]) => new THREE.Color(hex));
  const colours = new Float32Array(corners.length);
  const a = new THREE.Vector3(), b = new THREE.Vector3(), c = new THREE.Vector3();
  for (let t = 0; t < corners.length; t += 9) {
    a.fromArray(corners, t);
    b.fromArray(corners, t + 3).sub(a);
    c.fromArray(corners, t + 6).sub(a);
    const colour = palette[surfaceIndex(b.cross(c).normalize().y)];
    for (let k = 0; k < 9; k += 3) colour.toArray(colours, t + k);
  }
  return colours;
}

const backMaterial = new THREE.ShaderMaterial({
  side: THREE.BackSide,
  polygonOffset: true, polygonOffsetFactor: 1, polygonOffsetUnits: 1,
  vertexShader: "void main() { gl_Position = projectionMatrix * modelViewMatrix * vec4(position, 1.0); }",
  fragmentShader: `void main() {
    if (mod(gl_FragCoord.x + gl_FragCoord.y, 10.0) >= 3.0) discard;
    gl_FragColor = vec4(0.75, 0.11, 0.49, 1.0);
  }`,
});

function frontMaterial(faded) {
  return new THREE.MeshLambertMaterial({
    vertexColors: true, side: THREE.FrontSide, flatShading: true,
    polygonOffset: true, polygonOffsetFactor: 1, polygonOffsetUnits: 1,
    transparent: faded, opacity: faded ? 0.75 : 1 });
}

const faintBackMaterial = new THREE.MeshBasicMaterial({
  side: THREE.BackSide, color: 0x8a8a8a, transparent: true, opacity: 0.12, depthWrite: false,
  polygonOffset: true, polygonOffsetFactor: 1, polygonOffsetUnits: 1 });

function cornerGeometry(corners) {
  const geometry = new THREE.BufferGeometry();
  geometry.setAttribute("position", new THREE.BufferAttribute(corners, 3));
  geometry.computeBoundingBox();
  return geometry;
}

// A mesh's faces: the fronts, the faint backs, and the hatched backs that
// only the "every back face" switch shows.
function meshGroup(corners, faded) {
  const geometry = cornerGeometry(corners);
  geometry.setAttribute("color", new THREE.BufferAttribute(surfaceColours(corners), 3));
  geometry.computeVertexNormals();
  const hatch = new THREE.Mesh(geometry, backMaterial);
  hatch.visible = false;
  hatch.userData.everyBackFace = true;
  const group = new THREE.Group();
  group.add(new THREE.Mesh(geometry, frontMaterial(faded)), new THREE.Mesh(geometry, faintBackMaterial), hatch);
  return group;
}

// Every mesh object as a group; the simplified part of a big level faded;
// the triangles a mover went through from behind hatched always.
function buildMeshes(run) {
  const group = new THREE.Group();
  for (const mesh of run.meshes) {
    if (mesh.full.length) group.add(meshGroup(mesh.full, false));
    if (mesh.coarse.length) group.add(meshGroup(mesh.coarse, true));
    if (mesh.crossedFromBehind.length) group.add(new THREE.Mesh(cornerGeometry(mesh.crossedFromBehind), backMaterial));
  }
  return group;
}

function showEveryBackFace(meshes, on) {
  meshes.traverse((object) => { if (object.userData.everyBackFace) object.visible = on; });
}

function crossedCount(run) {
  return run.meshes.reduce((sum, mesh) => sum + mesh.crossedFromBehind.length / 9, 0);
}

function levelText(level) {
  if (level.triangles === level.full) return `${level.triangles} triangles, all shown as they are.`;
  return `${level.triangles} triangles: ${level.full} met or within about ${level.near} of a mover's path ` +
    `are shown as they are; the rest are simplified (corners merged on a grid of ${level.cell}) and faded.`;
}
