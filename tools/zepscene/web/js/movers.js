// Every mover as its ellipsoid where the current pass left it, its path up
// to that pass, and a grey line to where the host asked it to go.
const MOVER_COLOURS = ["#1c71d8", "#26a269", "#c64600", "#813d9c", "#a51d2d", "#1a5fb4", "#986a44", "#5e5c64"];

class MoverLayer {
  constructor(run, scene) {
    this.run = run;
    const sphere = new THREE.SphereGeometry(1, 20, 14);
    const material = new THREE.MeshLambertMaterial({ transparent: true, opacity: 0.8 });
    this.bodies = new THREE.InstancedMesh(sphere, material, Math.max(1, run.movers.length));
    run.movers.forEach((_, m) => this.bodies.setColorAt(m, new THREE.Color(MOVER_COLOURS[m % MOVER_COLOURS.length])));
    this.paths = run.movers.map((_, m) => this.pathLine(m));
    this.wanted = new THREE.LineSegments(new THREE.BufferGeometry(),
      new THREE.LineDashedMaterial({ color: 0x555555, dashSize: 0.15, gapSize: 0.1 }));
    scene.add(this.bodies, this.wanted, ...this.paths);
  }

  // All the passes' positions; a pass the mover sat out repeats the last one.
  pathLine(m) {
    const run = this.run, points = new Float32Array(run.passes.length * 3);
    let last = null;
    for (let p = 0; p < run.passes.length; ++p) {
      const at = moverSlot(run, p, m);
      if (at >= 0) last = run.frames.subarray(at, at + 3);
      if (last) points.set(last, p * 3);
    }
    const geometry = new THREE.BufferGeometry();
    geometry.setAttribute("position", new THREE.BufferAttribute(points, 3));
    return new THREE.Line(geometry, new THREE.LineBasicMaterial({ color: MOVER_COLOURS[m % MOVER_COLOURS.length] }));
  }

  show(pass) {
    const run = this.run, matrix = new THREE.Matrix4(), wanted = [];
    run.movers.forEach((_, m) => {
      const at = moverSlot(run, pass, m);
      if (at < 0) matrix.makeScale(0, 0, 0);
      else {
        const f = run.frames;
        matrix.makeScale(f[at + 6], f[at + 7], f[at + 8]).setPosition(f[at], f[at + 1], f[at + 2]);
        wanted.push(...f.subarray(at, at + 6));
      }
      this.bodies.setMatrixAt(m, matrix);
      this.paths[m].geometry.setDrawRange(0, pass + 1);
    });
    this.bodies.instanceMatrix.needsUpdate = true;
    this.bodies.computeBoundingSphere();
    this.wanted.geometry.setAttribute("position", new THREE.BufferAttribute(new Float32Array(wanted), 3));
    this.wanted.computeLineDistances();
  }

  // The box of every path, for framing the view.
  pathBox() {
    const box = new THREE.Box3();
    for (let i = 0; i < this.run.frames.length; i += MOVER_FLOATS) {
      const f = this.run.frames;
      if (Number.isNaN(f[i])) continue;
      box.expandByPoint(new THREE.Vector3(f[i] + f[i + 6], f[i + 1] + f[i + 7], f[i + 2] + f[i + 8]));
      box.expandByPoint(new THREE.Vector3(f[i] - f[i + 6], f[i + 1] - f[i + 7], f[i + 2] - f[i + 8]));
    }
    return box;
  }
}
