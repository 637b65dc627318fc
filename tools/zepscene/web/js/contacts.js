// The contacts of the current pass: a dot at each point and a line along
// its normal, coloured by kind. The library does not report the kind; the
// runner tells it from where the point lies on the hit triangle.
const KIND_COLOURS = { unknown: "#777777", face: "#e66100", edge: "#1c71d8", corner: "#9141ac" };

class ContactLayer {
  constructor(run, scene, normalLength) {
    Object.assign(this, { run, normalLength, shown: [] });
    this.dots = new THREE.Points(new THREE.BufferGeometry(),
      new THREE.PointsMaterial({ size: 9, sizeAttenuation: false, vertexColors: true, depthTest: false }));
    this.lines = new THREE.LineSegments(new THREE.BufferGeometry(),
      new THREE.LineBasicMaterial({ vertexColors: true, depthTest: false }));
    this.dots.renderOrder = this.lines.renderOrder = 2;
    scene.add(this.dots, this.lines);
  }

  // this.shown[i] = {mover, index, at} of the i-th dot, at its place in the contact arrays.
  show(pass) {
    const run = this.run, movers = run.movers.length;
    this.shown = [];
    for (let m = 0; m < movers; ++m) {
      const slot = pass * movers + m;
      for (let at = run.starts[slot]; at < run.starts[slot] + run.counts[slot]; ++at)
        this.shown.push({ mover: m, index: at - run.starts[slot], at });
    }
    const dots = new Float32Array(this.shown.length * 3), dotColours = new Float32Array(this.shown.length * 3);
    const lines = new Float32Array(this.shown.length * 6), lineColours = new Float32Array(this.shown.length * 6);
    const colour = new THREE.Color();
    this.shown.forEach(({ at }, i) => {
      colour.set(KIND_COLOURS[CONTACT_KINDS[run.kinds[at]]]);
      for (let k = 0; k < 3; ++k) {
        const p = run.points[at * 3 + k];
        dots[i * 3 + k] = lines[i * 6 + k] = p;
        lines[i * 6 + 3 + k] = p + run.normals[at * 3 + k] * this.normalLength;
      }
      colour.toArray(dotColours, i * 3);
      colour.toArray(lineColours, i * 6);
      colour.toArray(lineColours, i * 6 + 3);
    });
    this.setPoints(this.dots.geometry, dots, dotColours);
    this.setPoints(this.lines.geometry, lines, lineColours);
  }

  setPoints(geometry, positions, colours) {
    geometry.setAttribute("position", new THREE.BufferAttribute(positions, 3));
    geometry.setAttribute("color", new THREE.BufferAttribute(colours, 3));
    geometry.computeBoundingSphere();
  }
}
