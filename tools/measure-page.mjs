// Opens a zepscene page in headless Chromium and prints how long it took to
// be ready and the mean time to draw a frame while orbiting (software WebGL
// here, so a real GPU does better), with a screenshot beside the page.
//   node tools/measure-page.mjs PAGE.html [CHROMIUM]
import { statSync, writeFileSync } from "node:fs";
import { resolve } from "node:path";
import { pathToFileURL } from "node:url";
import { Browser, evaluate, waitFor } from "../tests/browser/cdp.mjs";

const [file, chromium = "chromium"] = process.argv.slice(2);
const { browser, version } = await Browser.launch(chromium);
try {
  const opened = Date.now();
  const page = await browser.openPage(pathToFileURL(resolve(file)).href);
  if (!(await waitFor(page, "document.body?.dataset.ready === '1'", 120000))) throw new Error("page never ready");
  const ready = Date.now() - opened;
  const loadMs = await evaluate(page, "zepView.loadMs");
  await evaluate(page, "zepView.setPass(zepView.passCount)");
  const frameMs = await evaluate(page, "zepView.frameTime(60)");
  const shot = await page.send("Page.captureScreenshot", { format: "png" });
  writeFileSync(file.replace(/\.html$/, ".png"), Buffer.from(shot.data, "base64"));
  console.log(`${file}: ${(statSync(file).size / 1e6).toFixed(1)} MB, ready ${ready} ms after opening ` +
    `(${loadMs.toFixed(0)} ms unpacking and building), ${frameMs.toFixed(1)} ms a frame in ${version}; ` +
    `errors: ${page.errors.length ? page.errors.join("; ") : "none"}`);
} finally {
  browser.close();
}
