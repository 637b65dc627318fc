// Numbers as zepscene prints them: the shortest text that reads back as the
// same 32-bit float, in fixed or exponent form, whichever is shorter (fixed
// on a tie), so what the page shows can be pasted into a script unchanged.
function shortestDigits(value) {
  for (let precision = 1; precision <= 9; ++precision) {
    const text = value.toExponential(precision - 1);
    if (Math.fround(Number(text)) === value) {
      const [mantissa, exponent] = text.split("e");
      return { digits: mantissa.replace(".", ""), exponent: Number(exponent) };
    }
  }
  throw new Error(`not a float: ${value}`);
}

function fixedForm(digits, exponent) {
  if (exponent < 0) return "0." + "0".repeat(-exponent - 1) + digits;
  if (digits.length <= exponent + 1) return digits + "0".repeat(exponent + 1 - digits.length);
  return digits.slice(0, exponent + 1) + "." + digits.slice(exponent + 1);
}

function exponentForm(digits, exponent) {
  const mantissa = digits.length > 1 ? digits[0] + "." + digits.slice(1) : digits;
  const size = String(Math.abs(exponent)).padStart(2, "0");
  return `${mantissa}e${exponent < 0 ? "-" : "+"}${size}`;
}

function formatFloat(value) {
  if (Number.isNaN(value)) return "nan";
  if (!Number.isFinite(value)) return value < 0 ? "-inf" : "inf";
  if (value === 0) return Object.is(value, -0) ? "-0" : "0";
  const sign = value < 0 ? "-" : "";
  const { digits, exponent } = shortestDigits(Math.abs(value));
  const fixed = fixedForm(digits, exponent), short = exponentForm(digits, exponent);
  return sign + (short.length < fixed.length ? short : fixed);
}

function formatVec(values, at = 0) {
  return `(${formatFloat(values[at])}, ${formatFloat(values[at + 1])}, ${formatFloat(values[at + 2])})`;
}
