// Numbers as zepscene prints them: the shortest text that reads back as the
// same 32-bit float, in fixed or exponent form, whichever is shorter (fixed
// on a tie), so what the page shows can be pasted into a script unchanged.
function shortestDigits(value) {
  for (let precision = 1; precision <= 9; ++precision) {
    const text = value.toExponential(precision - 1);
    if (Math.fround(Number(text)) === value) {
      const [mantissa, exponent] = text.split("e");
      return { digits: evenOnTie(value, precision, mantissa.replace(".", ""), exponent), exponent: Number(exponent) };
    }
  }
  throw new Error(`not a float: ${value}`);
}

// A float lying exactly halfway between two shortest texts (27.1953125 at
// eight digits) is rounded up by toExponential but to the even last digit by
// the runner's C++ formatting: take the even one, as the runner prints.
function evenOnTie(value, precision, digits, exponent) {
  const exact = value.toExponential(Math.min(precision + 40, 100)).split("e")[0].replace(".", "");
  const tie = exact[precision] === "5" && /^0*$/.test(exact.slice(precision + 1));
  const last = Number(digits[digits.length - 1]);
  if (!tie || last % 2 === 0) return digits;
  const lower = digits.slice(0, -1) + String(last - 1);
  const mantissa = lower.length > 1 ? lower[0] + "." + lower.slice(1) : lower;
  return Math.fround(Number(`${mantissa}e${exponent}`)) === value ? lower : digits;
}

// A whole number in fixed form is written with its exact digits, not the
// shortest ones padded with zeros (2301316864, not 2301316900), as the runner
// writes it: such a float is an integer, so BigInt has them all.
function fixedForm(value, digits, exponent) {
  if (exponent < 0) return "0." + "0".repeat(-exponent - 1) + digits;
  if (digits.length <= exponent + 1) return BigInt(value).toString();
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
  const fixed = fixedForm(Math.abs(value), digits, exponent), short = exponentForm(digits, exponent);
  return sign + (short.length < fixed.length ? short : fixed);
}

function formatVec(values, at = 0) {
  return `(${formatFloat(values[at])}, ${formatFloat(values[at + 1])}, ${formatFloat(values[at + 2])})`;
}
