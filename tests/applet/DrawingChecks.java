import java.awt.Color;
import java.awt.Graphics2D;
import java.awt.Point;
import java.awt.Rectangle;
import java.awt.Robot;
import java.awt.image.BufferedImage;

/**
 * What the applet draws: background colour and picture, the frame, the caption beside
 * or below it, the no-image-list text, the size taken for width and height 0, and the
 * double-buffered picture on the screen.
 */
class DrawingChecks {
    static void run(Workspace site, Checks checks) throws Exception {
        site.picture("red.gif", 100, 100, Color.red, "gif");
        site.picture("small.gif", 40, 30, Color.red, "gif");
        site.picture("tall.jpg", 30, 80, Color.blue, "jpeg");
        site.picture("wide.gif", 60, 40, Color.green, "gif");
        site.picture("tile.gif", 20, 20, Color.blue, "gif");
        site.picture("strip.gif", 100, 20, Color.yellow, "gif");
        colours(site, checks);
        captions(site, checks);
        fitting(site, checks);
        screen(site, checks);
    }

    static BufferedImage render(quilanim a, int width, int height) {
        BufferedImage image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        Graphics2D g = image.createGraphics();
        a.render(g, width, height);
        g.dispose();
        return image;
    }

    static Color at(BufferedImage image, int x, int y) {
        return new Color(image.getRGB(x, y));
    }

    /** Pixels inside r that differ from colour. */
    static int ink(BufferedImage image, Rectangle r, Color colour) {
        int count = 0;
        for (int y = r.y; y < r.y + r.height; y++) {
            for (int x = r.x; x < r.x + r.width; x++) {
                if (image.getRGB(x, y) != colour.getRGB())
                    count++;
            }
        }
        return count;
    }

    static quilanim loaded(HarnessHost host, int width, int height) {
        quilanim a = AppletHarness.prepare(new quilanim(), host, width, height);
        a.loadMedia();
        return a;
    }

    static void colours(Workspace site, Checks checks) {
        Object[][] rows = {
            { null, new Color(192, 192, 192) },
            { "#102030", new Color(16, 32, 48) },
            { "200,100,50", new Color(200, 100, 50) },
            { "#12", new Color(170, 170, 170) },
        };
        for (int i = 0; i < rows.length; i++) {
            HarnessHost host = site.host().param("imagelist", "small.gif");
            if (rows[i][0] != null)
                host.param("bg", (String) rows[i][0]);
            BufferedImage image = render(loaded(host, 120, 60), 120, 60);
            checks.equal("bg " + Checks.show(rows[i][0]) + " drawn", rows[i][1], at(image, 110, 50));
            checks.equal("bg " + Checks.show(rows[i][0]) + ": picture at the top left", Color.red, at(image, 5, 5));
            checks.equal("bg " + Checks.show(rows[i][0]) + ": picture size", rows[i][1], at(image, 41, 5));
        }

        // The background picture is tiled over the whole area, under the frame.
        BufferedImage image = render(loaded(site.host().param("imagelist", "small.gif")
                .param("background", "tile.gif"), 120, 60), 120, 60);
        checks.equal("background picture tiled", Color.blue, at(image, 115, 55));
        checks.equal("frame over the background", Color.red, at(image, 10, 10));

        // Without an image list the text is drawn in place of a show.
        HarnessHost host = site.host();
        quilanim a = AppletHarness.prepare(new quilanim(), host, 200, 60);
        image = render(a, 200, 60);
        checks.isTrue("no image list: text drawn", ink(image, new Rectangle(0, 0, 200, 60), new Color(192, 192, 192)) > 20);
    }

    static void captions(Workspace site, Checks checks) {
        Color grey = new Color(192, 192, 192);
        String text = "A caption long enough to need several lines";
        // Wide area: more room to the right of the 100 x 100 picture.
        quilanim a = loaded(site.host().param("imagelist", "red.gif").param("captionlist", text), 300, 120);
        BufferedImage image = render(a, 300, 120);
        Rectangle right = new Rectangle(100, 0, 200, 120);
        Rectangle below = new Rectangle(0, 100, 100, 20);
        checks.equal("wide area: caption room", right, quilanim.captionRoom(0, 0, 100, 100, 300, 120));
        checks.isTrue("wide area: caption drawn right", ink(image, right, grey) > 30);
        checks.equal("wide area: nothing below", 0, ink(image, below, grey));

        // Tall area: more room below.
        a = loaded(site.host().param("imagelist", "red.gif").param("captionlist", text), 120, 300);
        image = render(a, 120, 300);
        below = new Rectangle(0, 100, 120, 200);
        right = new Rectangle(100, 0, 20, 100);
        checks.equal("tall area: caption room", below, quilanim.captionRoom(0, 0, 100, 100, 120, 300));
        checks.isTrue("tall area: caption drawn below", ink(image, below, grey) > 30);
        checks.equal("tall area: nothing right", 0, ink(image, right, grey));
        checks.isTrue("tall area: caption wraps onto several lines", lines(image, below, grey) >= 3);

        // Equal room: below.
        checks.equal("equal room: below", new Rectangle(0, 100, 200, 100),
                quilanim.captionRoom(0, 0, 100, 100, 200, 200));
        // Beside a moved picture.
        checks.equal("moved picture: right", new Rectangle(60, 10, 240, 90),
                quilanim.captionRoom(10, 10, 50, 50, 300, 100));
        // A picture larger than the area leaves no room, and nothing breaks.
        Rectangle none = quilanim.captionRoom(0, 0, 100, 100, 50, 50);
        checks.isTrue("no room: empty", none.width * none.height == 0);
        image = render(loaded(site.host().param("imagelist", "red.gif").param("captionlist", text), 50, 50), 50, 50);
        checks.equal("no room: picture only", Color.red, at(image, 49, 49));

        // An empty caption draws nothing; a dark background gets light text.
        a = loaded(site.host().param("imagelist", "red.gif").param("captionlist", ""), 300, 120);
        checks.equal("empty caption: nothing", 0, ink(render(a, 300, 120), new Rectangle(100, 0, 200, 120), grey));
        a = loaded(site.host().param("imagelist", "red.gif").param("captionlist", "Night").param("bg", "#000000"), 300, 120);
        image = render(a, 300, 120);
        checks.isTrue("dark background: light text", brightest(image, new Rectangle(100, 0, 200, 120)) > 200);
    }

    /** Bands of rows holding ink, top to bottom. */
    static int lines(BufferedImage image, Rectangle r, Color background) {
        int bands = 0;
        boolean inBand = false;
        for (int y = r.y; y < r.y + r.height; y++) {
            boolean inked = ink(image, new Rectangle(r.x, y, r.width, 1), background) > 0;
            if (inked && !inBand)
                bands++;
            inBand = inked;
        }
        return bands;
    }

    static int brightest(BufferedImage image, Rectangle r) {
        int best = 0;
        for (int y = r.y; y < r.y + r.height; y++) {
            for (int x = r.x; x < r.x + r.width; x++) {
                Color c = new Color(image.getRGB(x, y));
                best = Math.max(best, Math.min(c.getRed(), Math.min(c.getGreen(), c.getBlue())));
            }
        }
        return best;
    }

    static void fitting(Workspace site, Checks checks) {
        Object[][] rows = {
            // width, height, background, expected size
            { 0, 0, null, "60x80" },
            { 0, 0, "strip.gif", "100x80" },
            { 200, 0, null, "200x80" },
            { 0, 50, "strip.gif", "100x50" },
            { 150, 70, "strip.gif", "150x70" },
        };
        for (int i = 0; i < rows.length; i++) {
            HarnessHost host = site.host().param("imagelist", "wide.gif,tall.jpg");
            if (rows[i][2] != null)
                host.param("background", (String) rows[i][2]);
            quilanim a = loaded(host, ((Integer) rows[i][0]).intValue(), ((Integer) rows[i][1]).intValue());
            String row = "size " + rows[i][0] + "x" + rows[i][1] + " " + Checks.show(rows[i][2]);
            checks.equal(row, rows[i][3], a.getWidth() + "x" + a.getHeight());
            boolean asked = rows[i][0].equals(0) || rows[i][1].equals(0);
            checks.equal(row + ": asked the page to resize", asked ? 1 : 0, host.resizes.size());
        }
    }

    /** The double-buffered drawing as it reaches the screen. */
    static void screen(Workspace site, Checks checks) throws Exception {
        HarnessHost host = site.host().param("imagelist", "small.gif").param("bg", "#2040C0")
                .param("pause", "100");
        final RecordingApplet a = AppletHarness.mount(new RecordingApplet(), host, 300, 200, 160, 90);
        host.frame.setAlwaysOnTop(true);
        checks.isTrue("on screen: running", a.awaitShown(2, 10 * AppletHarness.SECOND));
        final Robot robot = new Robot();
        final Point where = a.getLocationOnScreen();
        final Color blue = new Color(0x20, 0x40, 0xC0);
        boolean drawn = AppletHarness.await(new AppletHarness.Condition() {
            public boolean holds() {
                return robot.getPixelColor(where.x + 150, where.y + 80).equals(blue)
                        && robot.getPixelColor(where.x + 10, where.y + 10).equals(Color.red);
            }
        }, 5 * AppletHarness.SECOND);
        checks.isTrue("on screen: background and picture", drawn);
        AppletHarness.unmount(a, host);
    }
}
