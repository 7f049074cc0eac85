// Makes the web page's screenshot: the page in headless Chromium, a run at
// 10 ms a level, stopped after a few seconds with its ratios shown.
// Usage: node screenshot.mjs SITE_FOLDER PICTURE
import { drivers, later, located, serve, typeFallSpeed } from './page_session.mjs';

const [site, picture] = process.argv.slice(2);
const driver = await drivers.chromium({ width: 1024, height: 768 });
await driver.open(await serve(site));
await later(5000);
const { at } = await located(driver);
await typeFallSpeed(driver, at('fall-speed'), '10');
await driver.click(...at('start'));
await later(4000);
await driver.click(...at('stop'));
await later(500);
await driver.shot(picture);
await driver.close();
process.exit();
