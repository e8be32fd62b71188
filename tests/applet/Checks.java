import java.util.Arrays;

/** Collects the outcome of the harness's checks and prints each failure. */
class Checks {
    private int passed;
    private int failed;

    void equal(String what, Object expected, Object actual) {
        boolean same = expected == null ? actual == null
                : expected instanceof Object[] && actual instanceof Object[]
                        ? Arrays.deepEquals((Object[]) expected, (Object[]) actual)
                        : expected.equals(actual);
        if (same) {
            passed++;
        } else {
            fail(what + ": expected " + show(expected) + ", got " + show(actual));
        }
    }

    void isTrue(String what, boolean condition) {
        if (condition)
            passed++;
        else
            fail(what);
    }

    /** lower <= value <= upper */
    void between(String what, long lower, long value, long upper) {
        if (value >= lower && value <= upper)
            passed++;
        else
            fail(what + ": " + value + " not in [" + lower + ", " + upper + "]");
    }

    void fail(String message) {
        failed++;
        System.out.println("FAIL " + message);
    }

    int failed() {
        return failed;
    }

    int passed() {
        return passed;
    }

    static String show(Object value) {
        if (value instanceof Object[])
            return Arrays.deepToString((Object[]) value);
        if (value instanceof String)
            return "\"" + value + "\"";
        return String.valueOf(value);
    }
}
