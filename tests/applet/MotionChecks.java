import java.awt.Color;
import java.util.List;

/**
 * Positions of the moving picture after each step, bouncing and wrapping. The expected
 * positions are worked out by hand for a 20 x 10 picture.
 */
class MotionChecks {
    static void run(Workspace site, Checks checks) throws Exception {
        site.picture("sprite.gif", 20, 10, Color.red, "gif");
        Object[][] rows = {
            // name, area width, area height, move, bounce, expected "x,y" after each step
            { "bounce right", 100, 50, "30,0", "true",
                new String[] { "30,0", "60,0", "70,0", "40,0", "10,0", "20,0", "50,0", "80,0", "50,0" } },
            { "bounce down and up", 100, 50, "0,15", "yes",
                new String[] { "0,15", "0,30", "0,35", "0,20", "0,5", "0,10", "0,25", "0,40", "0,25" } },
            { "bounce from the bottom right", 100, 50, "-30,-7", "TRUE",
                new String[] { "50,33", "20,26", "10,19", "40,12", "70,5", "60,2", "30,9" } },
            { "bounce in an area narrower than the picture", 10, 50, "4,0", "true",
                new String[] { "-4,0", "-8,0", "-8,0", "-4,0", "0,0", "-4,0" } },
            { "bounce with no room", 20, 10, "5,5", "true",
                new String[] { "0,0", "0,0", "0,0" } },
            { "bounce at a huge speed", 100, 50, "1000000007,0", "true",
                new String[] { "7,0", "14,0", "21,0" } },
            { "wrap right", 100, 50, "30,0", "false",
                new String[] { "30,0", "60,0", "90,0", "0,0", "30,0" } },
            { "wrap left", 100, 50, "-30,0", "no",
                new String[] { "50,0", "20,0", "-10,0", "80,0", "50,0" } },
            { "wrap down", 100, 50, "0,25", "wrap",
                new String[] { "0,25", "0,-10", "0,15", "0,40" } },
            { "wrap up and right", 100, 50, "45,-25", "false",
                new String[] { "45,15", "90,-10", "15,25", "60,0" } },
            { "still", 100, 50, "0,0", "true",
                new String[] { "0,0", "0,0", "0,0" } },
        };
        for (int i = 0; i < rows.length; i++)
            stepped(site, checks, rows[i]);
        threaded(site, checks, rows[0], "0,0");
        threaded(site, checks, rows[7], "80,0");
    }

    static HarnessHost host(Workspace site, Object[] row) {
        return site.host().param("imagelist", "sprite.gif").param("move", (String) row[3])
                .param("bounce", (String) row[4]).param("pause", "20");
    }

    /** One step at a time, without the animation thread. */
    static void stepped(Workspace site, Checks checks, Object[] row) {
        quilanim a = AppletHarness.prepare(new quilanim(), host(site, row),
                ((Integer) row[1]).intValue(), ((Integer) row[2]).intValue());
        checks.isTrue(row[0] + ": loads", a.loadMedia());
        String[] expected = (String[]) row[5];
        String[] actual = new String[expected.length];
        for (int s = 0; s < expected.length; s++) {
            a.advance();
            actual[s] = a.pictureX() + "," + a.pictureY();
        }
        checks.equal(row[0] + ": positions", expected, actual);
    }

    /** The same through the running animation thread. */
    static void threaded(Workspace site, Checks checks, Object[] row, String start) throws Exception {
        String[] expected = (String[]) row[5];
        HarnessHost host = host(site, row);
        RecordingApplet a = AppletHarness.mount(new RecordingApplet(), host, 0, 0,
                ((Integer) row[1]).intValue(), ((Integer) row[2]).intValue());
        checks.isTrue(row[0] + " (running): steps taken", a.awaitShown(expected.length + 1, 20 * AppletHarness.SECOND));
        AppletHarness.unmount(a, host);
        List<RecordingApplet.Shown> shown = a.shown();
        String[] actual = new String[expected.length];
        for (int s = 0; s < expected.length && s + 1 < shown.size(); s++)
            actual[s] = shown.get(s + 1).x + "," + shown.get(s + 1).y;
        checks.equal(row[0] + " (running): start", start, shown.get(0).x + "," + shown.get(0).y);
        checks.equal(row[0] + " (running): positions", expected, actual);
    }
}
