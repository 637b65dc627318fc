// Opens zepscene's page of every example in headless Chromium: no console
// error, a canvas that is not blank, and at a few passes the mover readout
// must show what zepscene printed in its table for that pass; hovering a
// mover near the edge of its ellipsoid selects it; no back face is hatched
// on a sound scene (the switch hatches them all). Then the scene of
// scenes/wrong_floor.zep, whose floor a mover goes through from behind,
// must show the hatch. Leaves the pages and a screenshot of each in OUT for
// a person to look at.
//   node page_test.mjs ZEPSCENE EXAMPLES_DIR OUT [CHROMIUM]
// Exits 77 (skipped) when ZEP_BROWSER=0 or the browser cannot start.
import { execFileSync } from "node:child_process";
import { mkdirSync, readFileSync, readdirSync, writeFileSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { Browser, evaluate, waitFor } from "./cdp.mjs";
import { readPassTables } from "./pass_tables.mjs";

const [zepscene, examples, out, chromium = "chromium"] = process.argv.slice(2);
const SKIP = 77;

function skip(reason) {
  console.log(`SKIPPED: browser tests: ${reason}`);
  process.exit(SKIP);
}

const WRONG_FLOOR = resolve(dirname(fileURLToPath(import.meta.url)), "scenes");

function runZepscene(dir, name) {
  const page = resolve(out, `${name}.html`);
  const stdout = execFileSync(zepscene, ["--no-warnings", "--html", page, `${name}.zep`],
    { cwd: dir, encoding: "utf8", maxBuffer: 1 << 28 });
  return { page, passes: readPassTables(stdout) };
}

// The passes to check: the first, one in the middle, the last.
function passesToCheck(count) {
  return [...new Set([1, Math.ceil(count / 2), count])].filter((p) => p >= 1);
}

async function checkReadout(page, passes, pass, failures) {
  const printed = passes[pass - 1];
  for (const [object, values] of printed.movers) {
    await evaluate(page, `zepView.setPass(${pass})`);
    const shown = await evaluate(page, `zepView.selectMover(${object})`);
    const at = /\nat (\([^)]*\))/.exec(shown)?.[1], wanted = /\nwanted (\([^)]*\))/.exec(shown)?.[1];
    if (at !== values.at || wanted !== values.wanted || !shown.includes(printed.heading))
      failures.push(`pass ${pass}, mover ${object}: page shows "${shown}", zepscene printed ` +
        `"${printed.heading}: at ${values.at} wanted ${values.wanted}"`);
  }
}

// The pointer over mover `object`, most of the way to its edge on either
// side, must select it (or a contact of it, which the readout heads alike).
async function checkHover(page, object, failures) {
  await evaluate(page, "zepView.selectMover(-1)");
  for (const fraction of [0.85, -0.85]) {
    const where = await evaluate(page, `zepView.moverOnPage(${object}, ${fraction})`);
    if (!where) continue;
    const [x, y] = where.edge;
    await page.send("Input.dispatchMouseEvent", { type: "mouseMoved", x, y, buttons: 0 });
    const shown = await evaluate(page, "document.getElementById('info').textContent");
    if (!shown.startsWith(`mover ${object},`))
      failures.push(`hovering mover ${object} at ${fraction} of its radius from its centre shows "${shown}"`);
  }
}

// Hatched pixels: none on a sound scene unless the switch asks for every
// back face; some where a mover went through a floor from behind.
async function checkHatch(page, soundScene, failures) {
  const crossed = await evaluate(page, "zepView.crossedTriangles");
  const hatched = (await evaluate(page, "zepView.hatchedPixels()")).painted;
  if (soundScene && (crossed || hatched))
    failures.push(`${crossed} triangles marked as gone through from behind, ${hatched} pixels hatched`);
  if (!soundScene && (!crossed || hatched < 50))
    failures.push(`the floor gone through from behind shows ${hatched} hatched pixels (${crossed} triangles marked)`);
  if (!soundScene) return;
  await evaluate(page, "zepView.setEveryBackFace(true)");
  const every = (await evaluate(page, "zepView.hatchedPixels()")).painted;
  await evaluate(page, "zepView.setEveryBackFace(false)");
  return every;
}

async function checkExample(browser, dir, name, soundScene = true) {
  const failures = [];
  const { page: file, passes } = runZepscene(dir, name);
  const page = await browser.openPage(pathToFileURL(file).href);
  if (!(await waitFor(page, "document.body?.dataset.ready === '1'", 30000)))
    failures.push(`never ready: ${await evaluate(page, "document.getElementById('status')?.textContent")}`);
  else {
    if ((await evaluate(page, "zepView.passCount")) !== passes.length)
      failures.push(`page has ${await evaluate(page, "zepView.passCount")} passes, zepscene printed ${passes.length}`);
    for (const pass of passesToCheck(passes.length)) await checkReadout(page, passes, pass, failures);
    const { painted, total } = await evaluate(page, "zepView.paintedPixels()");
    if (painted < total * 0.05) failures.push(`canvas nearly blank: ${painted} of ${total} pixels drawn`);
    const frameMs = await evaluate(page, "zepView.frameTime(30)");
    await evaluate(page, `zepView.setPass(${Math.ceil(passes.length / 2)})`);
    const everyBackFace = await checkHatch(page, soundScene, failures);
    const shot = await page.send("Page.captureScreenshot", { format: "png" });
    writeFileSync(join(out, `${name}.png`), Buffer.from(shot.data, "base64"));
    const [firstMover] = passes[Math.ceil(passes.length / 2) - 1].movers.keys();
    if (firstMover !== undefined) await checkHover(page, firstMover, failures);
    console.log(`${name}: ${passes.length} passes, ${(painted / total * 100).toFixed(0)}% of the canvas drawn, ` +
      `${frameMs.toFixed(1)} ms a frame` + (everyBackFace === undefined ? "" : `, ${everyBackFace} pixels hatched ` +
      `with every back face shown`) + `; screenshot ${resolve(out, name + ".png")}`);
  }
  failures.push(...page.errors.map((e) => `console error: ${e}`));
  return failures.map((f) => `${name}: ${f}`);
}

// The page writes floats as zepscene does (C++'s shortest form) where
// JavaScript's own rounding differs: a float exactly halfway between two
// shortest texts takes the even one, and a whole number keeps its exact
// digits. The texts are zepscene's.
function formatFailures() {
  const script = resolve(dirname(fileURLToPath(import.meta.url)), "../../tools/zepscene/web/js/format.js");
  const formatFloat = new Function(`${readFileSync(script, "utf8")}; return formatFloat;`)();
  const cases = [[27.1953125, "27.195312"], [2301316864, "2301316864"], [-10039297024, "-10039297024"],
    [1e-7, "1e-07"], [3.4e38, "3.4e+38"], [0.1, "0.1"]];
  return cases.filter(([value, text]) => formatFloat(Math.fround(value)) !== text)
    .map(([value, text]) => `format: ${value} shows as ${formatFloat(Math.fround(value))}, zepscene writes ${text}`);
}

async function main() {
  const formatting = formatFailures();
  if (formatting.length) {
    formatting.forEach((f) => console.log(`FAILED: ${f}`));
    process.exit(1);
  }
  if (process.env.ZEP_BROWSER === "0") skip("ZEP_BROWSER=0");
  mkdirSync(out, { recursive: true });
  let launched;
  try {
    launched = await Browser.launch(chromium);
  } catch (error) {
    skip(`${chromium} did not start (${error.message})`);
  }
  const { browser, version } = launched;
  console.log(`browser: ${version}`);
  const names = readdirSync(examples).filter((f) => f.endsWith(".zep")).map((f) => f.slice(0, -4)).sort();
  const failures = [];
  try {
    for (const name of names) failures.push(...(await checkExample(browser, examples, name)));
    failures.push(...(await checkExample(browser, WRONG_FLOOR, "wrong_floor", false)));
  } finally {
    browser.close();
  }
  failures.forEach((f) => console.log(`FAILED: ${f}`));
  const pages = names.length + 1;
  console.log(`${pages - new Set(failures.map((f) => f.split(":")[0])).size} of ${pages} pages passed`);
  process.exit(failures.length ? 1 : 0);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
