// The meshes: front faces shaded by how steep they are (the same classes as
// the SVG picture), back faces hatched in magenta, so a floor wound the wrong
// way shows at a glance. The hatch leaves every other stripe open: the near
// walls of a closed room show from behind and must not hide the inside. A triangle's front is the side of
// cross(c2 - c1, c3 - c1), the side the library meets it from.
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

function meshGroup(corners, faded) {
  const geometry = new THREE.BufferGeometry();
  geometry.setAttribute("position", new THREE.BufferAttribute(corners, 3));
  geometry.setAttribute("color", new THREE.BufferAttribute(surfaceColours(corners), 3));
  geometry.computeVertexNormals();
  geometry.computeBoundingBox();
  const group = new THREE.Group();
  group.add(new THREE.Mesh(geometry, frontMaterial(faded)), new THREE.Mesh(geometry, backMaterial));
  return group;
}

// Every mesh object as a group; the simplified part of a big level faded.
function buildMeshes(run) {
  const group = new THREE.Group();
  for (const mesh of run.meshes) {
    if (mesh.full.length) group.add(meshGroup(mesh.full, false));
    if (mesh.coarse.length) group.add(meshGroup(mesh.coarse, true));
  }
  return group;
}

function levelText(level) {
  if (level.triangles === level.full) return `${level.triangles} triangles, all shown as they are.`;
  return `${level.triangles} triangles: ${level.full} met or within about ${level.near} of a mover's path ` +
    `are shown as they are; the rest are simplified (corners merged on a grid of ${level.cell}) and faded.`;
}
